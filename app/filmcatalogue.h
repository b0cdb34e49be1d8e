// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/films.h"
#include "tools/ownfilms.h"

#include <string>
#include <vector>

// The films the program knows: the shipped film database, read at start-up, and the films of
// the user's own, kept beside the settings. The main window holds them; the exposure tab lists
// them and the films dialog changes the own ones.
struct FilmCatalogue
{
    tools::TFilms Shipped;
    std::string Version; // of the shipped database; empty when none was loaded
    bool ShippedLoaded = false;
    std::vector<tools::OwnFilm> Own;
    std::string OwnFolder;
    // The settings folder is the program's, whose films.dat is the shipped database: no own
    // films can be kept there.
    bool OwnClash = false;

    // The film list as the exposure tab shows it: the shipped films, then the own ones.
    tools::TFilms List() const
    {
        tools::TFilms list = Shipped;
        for (const tools::OwnFilm &film : Own)
            list.push_back(film.Record);
        return list;
    }

    // Correction can be switched on while there are films to choose from: the shipped
    // database (even one without films), or films of one's own.
    bool Available() const { return ShippedLoaded || !Own.empty(); }
};
