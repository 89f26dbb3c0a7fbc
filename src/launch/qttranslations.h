// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QCoreApplication;

namespace jot {

// Installs Qt's own translations for the user's locale, so that Qt's dialogs and message box
// buttons speak the user's language. Without them for the locale, Qt speaks English.
void loadQtTranslations(QCoreApplication& app);

// Installs Jotlark's own translation for the user's locale (French, German), embedded in the
// program. What is stored (the creation stamp, the alarm texts, the file) never changes with
// it.
void loadJotlarkTranslations(QCoreApplication& app);

} // namespace jot
