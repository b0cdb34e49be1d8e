// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/checkdata.h"

#include "components/helpviewer.h"
#include "tools/films.h"

#include <QDir>
#include <QFile>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::string Clean(const std::string &path)
{
    return QDir::cleanPath(QString::fromStdString(path)).toStdString();
}

void WriteLookedIn(const std::vector<std::string> &paths, std::ostream &out)
{
    out << " (looked for ";
    for (std::size_t i = 0; i < paths.size(); ++i)
        out << (i ? ", " : "") << Clean(paths[i]);
    out << ")\n";
}

// The film database: found, read, and not empty (a database without films corrects nothing).
bool CheckFilms(const QString &exeDir, std::ostream &out)
{
    const std::vector<std::string> paths = tools::FilmDatabasePaths(exeDir.toStdString());
    out << "films.dat: ";
    for (const std::string &path : paths) {
        const tools::FilmDatabase db = tools::LoadFilmDatabase(path);
        if (db.Status == tools::FilmDatabaseStatus::Missing)
            continue;
        out << Clean(path);
        if (db.Status == tools::FilmDatabaseStatus::Damaged) {
            out << " cannot be read\n";
            return false;
        }
        if (db.Films.empty()) {
            out << " holds no films\n";
            return false;
        }
        out << " (" << db.Films.size() << " films)\n";
        return true;
    }
    out << "missing";
    WriteLookedIn(paths, out);
    return false;
}

// The help document: the first that exists, as the help window takes it, and readable.
bool CheckHelp(const QString &exeDir, std::ostream &out)
{
    const QStringList paths = HelpFilePaths(exeDir);
    out << "lumi.html: ";
    for (const QString &path : paths) {
        QFile file(path);
        if (!file.exists())
            continue;
        out << path.toStdString();
        if (!file.open(QIODevice::ReadOnly) || file.size() == 0 || file.read(1).isEmpty()) {
            out << " cannot be read\n";
            return false;
        }
        out << "\n";
        return true;
    }
    std::vector<std::string> looked;
    for (const QString &path : paths)
        looked.push_back(path.toStdString());
    out << "missing";
    WriteLookedIn(looked, out);
    return false;
}

} // namespace

bool IsCheckDataRequest(int argc, const char *const *argv)
{
    return argc == 2 && std::strcmp(argv[1], "--check-data") == 0;
}

int CheckData(const QString &exeDir, std::ostream &out)
{
    const bool films = CheckFilms(exeDir, out);
    const bool help = CheckHelp(exeDir, out);
    return films && help ? 0 : 1;
}
