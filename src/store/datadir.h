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

// What the user must hear, at every start, about where the tasks are: the data directory is
// not the usual one but the one beside the program (or could not be made even there, so saves
// fail), or a normal start finds tasks left beside the program by such a run. Empty when there
// is nothing to say.
QString dataDirNotice(const QString& dataDir);
QString dataDirNotice(const QString& dataDir, const QString& userDataFolder,
                      const QString& applicationDir);

// Twenty hex digits naming where the data directory really is (through links): the name of
// its lock, and of what else is kept for it elsewhere.
QString dataDirHash(const QString& dataDir);

} // namespace jot
