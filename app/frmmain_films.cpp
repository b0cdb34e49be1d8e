// SPDX-License-Identifier: GPL-3.0-or-later
// Films of the user's own: read at start-up from beside the settings, changed in the films
// dialog (Tools > Films...), and listed on the exposure tab after the shipped films.
#include "app/frmmain.h"
#include "ui_frmmain.h"

#include "components/uitext.h"
#include "dialogs/filmshost.h"
#include "dialogs/frmfilms.h"
#include "tools/cp1252.h"
#include "tools/stringtable.h"

#include <QDir>

void TfrmMain::films1Click()
{
    class Host final : public IFilmsHost
    {
    public:
        explicit Host(TfrmMain &window) : w(window) {}
        std::vector<std::string> ShippedFilmNames() const override
        {
            return tools::FilmNames(w.m_films);
        }
        const std::vector<tools::OwnFilm> &OwnFilms() const override { return w.m_ownFilms; }
        bool StoreOwnFilms(const std::vector<tools::OwnFilm> &films) override
        {
            return w.StoreOwnFilms(films);
        }
        std::string OwnFilmsFolder() const override { return w.m_ownFilmsFolder; }

    private:
        TfrmMain &w;
    };

    Host host(*this);
    TFrmFilms dialog(host, this);
    dialog.exec();
    // A film may have changed or gone: the list is rebuilt and the table emptied.
    FillFilmList();
    ShowReciprocityAvailability();
    ResetExposureTable();
}

void TfrmMain::LoadOwnFilms(const std::string &shippedPath)
{
    m_ownFilmsFolder = tools::OwnFilmsFolder();
    m_ownFilmsClash = tools::OwnFilmsClashWith(m_ownFilmsFolder, shippedPath);
    if (m_ownFilmsClash)
        return;
    tools::OwnFilms own = tools::LoadOwnFilms(m_ownFilmsFolder);
    m_ownFilms = std::move(own.Films);
    if (!own.DamagedFile.empty()) {
        const QString file = QDir::toNativeSeparators(FromStd(own.DamagedFile));
        const QString backup =
            QDir::toNativeSeparators(FromStd(tools::OwnFilmsBackupPath(own.DamagedFile)));
        ShowFilmDataError(FromStd(tools::FormatStr(2709, {ToStd(file), ToStd(backup)})));
    }
}

bool TfrmMain::StoreOwnFilms(const std::vector<tools::OwnFilm> &films)
{
    if (m_ownFilmsClash || !tools::SaveOwnFilms(m_ownFilmsFolder, films))
        return false;
    m_ownFilms = films;
    return true;
}

// The shipped films, then the own ones; the film chosen stays chosen while it is there.
void TfrmMain::FillFilmList()
{
    m_filmList = m_films;
    for (const tools::OwnFilm &film : m_ownFilms)
        m_filmList.push_back(film.Record);

    TEnhCombo *list = ui->cbFilmName;
    const QString chosen = list->currentIndex() >= 0 ? list->currentText() : QString();
    {
        // Filling the list is no choice of the user's.
        const QSignalBlocker blocker(list);
        list->clear();
        for (const tools::TFilmRecord &film : m_filmList)
            list->addItem(FromStd(tools::Cp1252ToUtf8(film.Name)));
        list->setCurrentIndex(chosen.isEmpty() ? -1 : list->findText(chosen));
    }
    list->SetDropDownFixedWidth(0);
    list->setMaxVisibleItems(9);
}

// Correction can be switched on while there are films to choose from: the shipped database
// (even one without films), or films of one's own.
void TfrmMain::ShowReciprocityAvailability()
{
    if (m_filmDatabaseLoaded || !m_ownFilms.empty()) {
        ui->chbReciprocity->setEnabled(true);
        ShowFilmListState();
        return;
    }
    // As if the user cleared the box; then it stays off until there are films.
    {
        const QSignalBlocker blocker(ui->chbReciprocity);
        ui->chbReciprocity->setChecked(false);
    }
    chbReciprocityClick();
    ui->chbReciprocity->setEnabled(false);
    ui->cbFilmName->setEnabled(false);
}
