#include "store/taskfile.h"
// STUB: to be written.
namespace jot {
QString escapeTaskText(const QString& t) { return t; }
QString unescapeTaskText(const QString& f) { return f; }
bool writeTasks(const TaskList&, QIODevice&) { return true; }
QString decodeTaskFile(const QByteArray& b) { return QString::fromUtf8(b); }
ParsedTasks parseTasks(const QString&) { return {}; }
TaskFile::TaskFile(QObject* parent) : QObject(parent) {}
void TaskFile::setDirectory(const QString& d) { m_dir = d; }
QString TaskFile::directory() const { return m_dir; }
QString TaskFile::path() const { return m_dir + kTaskFileName; }
void TaskFile::lire_liste(TaskList&) {}
bool TaskFile::sauver_liste(const TaskList&) { return true; }
QString TaskFile::lastError() const { return m_error; }
bool TaskFile::writeTo(QIODevice& d, const TaskList& l) { return writeTasks(l, d); }
} // namespace jot
