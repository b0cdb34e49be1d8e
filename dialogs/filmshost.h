// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/ownfilms.h"

#include <string>
#include <vector>

// What the films dialogs need of the main window: the names the shipped films take, the
// user's own films, and keeping a changed list of them.
class IFilmsHost
{
public:
    // The names of the films of the shipped database (Windows-1252), which own films may not
    // take.
    virtual std::vector<std::string> ShippedFilmNames() const = 0;

    virtual const std::vector<tools::OwnFilm> &OwnFilms() const = 0;

    // Keeps films as the own films, on disk first. False when they could not be saved; the
    // films stay as they were then.
    virtual bool StoreOwnFilms(const std::vector<tools::OwnFilm> &films) = 0;

    // Where the own films are kept, for the message of a failed save.
    virtual std::string OwnFilmsFolder() const = 0;

protected:
    ~IFilmsHost() = default;
};
