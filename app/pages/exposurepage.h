// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/pages/calculatorpage.h"
#include "components/stringaligngrid.h"
#include "tools/exposure.h"

#include <memory>
#include <optional>

namespace Ui {
class ExposurePage;
}
struct FilmCatalogue;
class TExposureSaveDialog;

// The exposure tab: a table of 18 exposure times for the camera's f number against the times
// metered for f 22, corrected for the reciprocity failure of a film when asked, filled by
// Calculate and saved by Save... as a spreadsheet, formatted or tab-delimited text or CSV.
// Every change of an input empties the table.
class ExposurePage : public CalculatorPage
{
    Q_OBJECT

public:
    // films: the films the window knows; the page lists them and follows them when told.
    explicit ExposurePage(const FilmCatalogue &films, QWidget *parent = nullptr);
    ~ExposurePage() override;

    FormPlan Plan() const override;
    void PreferencesChanged(TFrmPreferences::Changes changes) override;
    QPushButton *DefaultButton() const override;

    // The films changed (the films dialog): the list is rebuilt and the table emptied.
    void FilmsChanged();

    // Empties the table; the buttons follow the inputs.
    void ResetExposureTable();
    void FillExposureTable();

    static GridFit TableFit();

protected:
    void Build() override;

private:
    void edFnumber5Change();
    void chbReciprocityClick();
    void btCalculate5Click();
    void btSaveExposureTimesClick();
    void UpdateExposureFactor();
    void FillFilmList();
    void ShowReciprocityAvailability();
    void ShowFilmListState();
    const tools::TFilmRecord *SelectedFilm() const;
    // The times of the table from the tab's inputs; nothing, after a message naming the film,
    // when the chosen film's reciprocity data cannot be read.
    std::optional<tools::ExposureResult> ComputeExposureTimes();
    bool savedlgExposureTimesCanClose(const QString &fileName, int filterIndex);
    void ExportExposureTable(const QString &path, int filterIndex,
                             const tools::ExposureResult &result);

    std::unique_ptr<Ui::ExposurePage> ui;
    const FilmCatalogue &m_films;
    // The film list as shown; the labels of the rows' metered times, with their units; the save
    // dialog, which keeps the name and the file type chosen last from one save to the next.
    tools::TFilms m_filmList;
    tools::ExposureLabels ExposureTimeLabels;
    TExposureSaveDialog *savedlgExposureTimes = nullptr;
};

// The film database cannot be read, or a film's data cannot: an error message over parent.
void ShowFilmDataError(QWidget *parent, const QString &message);
