// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QCoreApplication;

namespace jot {

// Installs Qt's own translations for the user's locale, so that Qt's dialogs and message box
// buttons speak the user's language. Without them for the locale, Qt speaks English.
void loadQtTranslations(QCoreApplication& app);

} // namespace jot
