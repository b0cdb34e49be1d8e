// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/frmfilms.h"

#include "components/guarded.h"
#include "components/helpcontext.h"
#include "components/helpviewer.h"
#include "components/messagebox.h"
#include "components/uitext.h"
#include "dialogs/filmshost.h"
#include "dialogs/frmfilmedit.h"
#include "tools/cp1252.h"
#include "tools/numtext.h"
#include "tools/stringtable.h"

#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace {

constexpr int kHelpContext = 2700;

// The names the film may not take: the shipped films' and the other own films'.
std::vector<std::string> TakenNames(const IFilmsHost &host, std::optional<std::size_t> except)
{
    std::vector<std::string> taken = host.ShippedFilmNames();
    const std::vector<tools::OwnFilm> &own = host.OwnFilms();
    for (std::size_t i = 0; i < own.size(); ++i)
        if (i != except)
            taken.push_back(own[i].Record.Name);
    return taken;
}

} // namespace

TFrmFilms::TFrmFilms(IFilmsHost &host, QWidget *parent) : QDialog(parent), m_host(host)
{
    setObjectName(QStringLiteral("FrmFilms"));
    setWindowTitle(u' ' + Str(2701));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    SetHelpContext(this, kHelpContext);
    InstallHelpKey(this);

    auto *grid = new QGridLayout(this);
    auto *label = new QLabel(Str(2702), this);
    lbFilms = new QListWidget(this);
    lbFilms->setObjectName(QStringLiteral("lbFilms"));
    lbFilms->setMinimumSize(300, 200);
    label->setBuddy(lbFilms);
    grid->addWidget(label, 0, 0);
    grid->addWidget(lbFilms, 1, 0, 5, 1);

    struct Button
    {
        const char *name;
        int id;
        void (TFrmFilms::*action)();
    };
    const Button buttons[] = {
        {"btAdd", 2703, &TFrmFilms::btAddClick},
        {"btEdit", 2704, &TFrmFilms::btEditClick},
        {"btRemove", 2705, &TFrmFilms::btRemoveClick},
    };
    int row = 1;
    for (const Button &b : buttons) {
        auto *button = new QPushButton(Str(b.id), this);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setAutoDefault(false);
        ConnectGuarded(button, &QPushButton::clicked, this, b.action);
        grid->addWidget(button, row++, 1);
        if (b.action == &TFrmFilms::btEditClick)
            btEdit = button;
        else if (b.action == &TFrmFilms::btRemoveClick)
            btRemove = button;
    }
    grid->setRowStretch(row++, 1);
    auto *close = new QPushButton(Str(2706), this);
    close->setObjectName(QStringLiteral("btClose"));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    grid->addWidget(close, row, 1);

    connect(lbFilms, &QListWidget::currentRowChanged, this, [this] { ShowButtonState(); });
    ConnectGuarded(lbFilms, &QListWidget::itemActivated, this, &TFrmFilms::btEditClick);
    FillList(std::nullopt);
}

void TFrmFilms::FillList(std::optional<int> select)
{
    lbFilms->clear();
    for (const tools::OwnFilm &film : m_host.OwnFilms())
        lbFilms->addItem(FromStd(tools::Cp1252ToUtf8(film.Record.Name)));
    if (select && *select >= 0 && *select < lbFilms->count())
        lbFilms->setCurrentRow(*select);
    else if (lbFilms->count() > 0)
        lbFilms->setCurrentRow(0);
    ShowButtonState();
}

void TFrmFilms::ShowButtonState()
{
    const bool chosen = lbFilms->currentRow() >= 0;
    btEdit->setEnabled(chosen);
    btRemove->setEnabled(chosen);
}

bool TFrmFilms::Store(const std::vector<tools::OwnFilm> &films)
{
    if (m_host.StoreOwnFilms(films))
        return true;
    const std::string folder = ToStd(QDir::toNativeSeparators(FromStd(m_host.OwnFilmsFolder())));
    ShowMessage(this, FromStd(tools::FormatStr(2708, folder)), QMessageBox::Critical, Str(1814));
    return false;
}

void TFrmFilms::btAddClick()
{
    const auto commit = [this](const tools::OwnFilm &film) {
        std::vector<tools::OwnFilm> films = m_host.OwnFilms();
        films.push_back(film);
        return Store(films);
    };
    TFrmFilmEdit dialog(std::nullopt, TakenNames(m_host, std::nullopt), commit, this);
    if (dialog.exec() == QDialog::Accepted)
        FillList(static_cast<int>(m_host.OwnFilms().size()) - 1);
}

void TFrmFilms::btEditClick()
{
    const int row = lbFilms->currentRow();
    if (row < 0 || row >= static_cast<int>(m_host.OwnFilms().size()))
        return;
    const auto index = static_cast<std::size_t>(row);
    const tools::OwnFilm &film = m_host.OwnFilms()[index];
    const tools::FilmInput input = tools::InputForEditing(film);
    const auto commit = [this, index](const tools::OwnFilm &changed) {
        std::vector<tools::OwnFilm> films = m_host.OwnFilms();
        films[index] = changed;
        return Store(films);
    };
    TFrmFilmEdit dialog(input, TakenNames(m_host, index), commit, this);
    if (dialog.exec() == QDialog::Accepted)
        FillList(row);
}

void TFrmFilms::btRemoveClick()
{
    const int row = lbFilms->currentRow();
    if (row < 0 || row >= static_cast<int>(m_host.OwnFilms().size()))
        return;
    if (!AskYesNo(this, FromStd(tools::FormatStr(2707, ToStd(lbFilms->item(row)->text()))),
                  QMessageBox::Question))
        return;
    std::vector<tools::OwnFilm> films = m_host.OwnFilms();
    films.erase(films.begin() + row);
    if (Store(films))
        FillList(row < static_cast<int>(films.size()) ? row : row - 1);
}
