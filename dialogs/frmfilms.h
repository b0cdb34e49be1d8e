// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/ownfilms.h"

#include <QDialog>

#include <optional>
#include <vector>

class IFilmsHost;
class QListWidget;
class QPushButton;

// Tools > Films...: the user's own films, with Add, Edit, Remove and Close. Every change is
// saved at once through the host (the main window), which refreshes its film list when the
// dialog has closed.
class TFrmFilms : public QDialog
{
    Q_OBJECT

public:
    TFrmFilms(IFilmsHost &host, QWidget *parent);

    // The buttons' actions, also for a double click on a film (Edit).
    void btAddClick();
    void btEditClick();
    void btRemoveClick();

private:
    void FillList(std::optional<int> select);
    void ShowButtonState();
    // Keeps films through the host; false after telling the user that they cannot be saved.
    bool Store(const std::vector<tools::OwnFilm> &films);

    IFilmsHost &m_host;
    QListWidget *lbFilms = nullptr;
    QPushButton *btEdit = nullptr;
    QPushButton *btRemove = nullptr;
};
