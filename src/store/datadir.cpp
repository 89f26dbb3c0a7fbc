#include "store/datadir.h"
// STUB: to be written.
#include <QDir>
namespace jot {
QString dossier_donnees() { return QDir::tempPath() + QStringLiteral("/jotlk-stub/"); }
QString dossier_donnees(const QString& a, const QString&) { return a + QStringLiteral("/jotlk/"); }
} // namespace jot
