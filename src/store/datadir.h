// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace jot {

// The data directory, with a trailing '/': "jotlk" in the per-user data folder, created
// (mode 0700) when missing, made private with its files when found; "jotstore" beside the
// executable when that folder is not available or cannot be created. Needs no application
// object.
QString dossier_donnees();
QString dossier_donnees(const QString& userDataFolder, const QString& applicationDir);

} // namespace jot
