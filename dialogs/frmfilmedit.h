// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/filmfit.h"
#include "tools/ownfilms.h"

#include <QDialog>
#include <QTimer>

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class TBackgroundFit;
class TReciprocityPlot;

// Adds a film of the user's own or changes one: its name, its reciprocity failure as a power
// law or as measured pairs, and the range of metered times its formula covers. As the user
// types, the formula is fitted (after a short pause, on a worker thread), its largest error
// is shown, and a log-log plot shows the pairs, the formula over its range and its
// continuation beyond. OK stays disabled while the input cannot be fitted or the name cannot
// be taken; the line under the fields says why.
class TFrmFilmEdit : public QDialog
{
    Q_OBJECT

public:
    // Keeps the film when the user presses OK; false keeps the dialog open (the user has been
    // told why).
    using Commit = std::function<bool(const tools::OwnFilm &film)>;

    // input: the film as typed before, or none to add a film. taken: the names (Windows-1252)
    // the film may not take.
    TFrmFilmEdit(const std::optional<tools::FilmInput> &input, std::vector<std::string> taken,
                 Commit commit, QWidget *parent);
    ~TFrmFilmEdit() override;

    static constexpr int kPairRows = static_cast<int>(tools::kMaxFilmPairs);
    // The pause after the last key before the formula is fitted.
    static constexpr int kFitPauseMs = 150;

    // Whether a fit of the current input is still to come.
    bool FitPending() const;

    void accept() override;

private:
    void Build();
    void Fill(const tools::FilmInput &input);
    tools::FilmInput ReadFields() const;
    void InputChanged();
    void StartFit();
    void FitFinished(const QString &key, const tools::FilmFit &fit);
    void ShowPlot(const tools::FilmModelData *model, const tools::FilmFit *fit);

    std::vector<std::string> m_taken;
    Commit m_commit;

    QLineEdit *edName = nullptr;
    QRadioButton *rbPowerLaw = nullptr;
    QRadioButton *rbPairs = nullptr;
    QStackedWidget *pgModel = nullptr;
    QLineEdit *edPower = nullptr;
    QLineEdit *edFrom = nullptr;
    std::array<QLineEdit *, kPairRows> edMetered{};
    std::array<QLineEdit *, kPairRows> edNeeded{};
    QLineEdit *edRangeMin = nullptr;
    QLineEdit *edRangeMax = nullptr;
    QLabel *lbError = nullptr;
    QLabel *lbReason = nullptr;
    TReciprocityPlot *pbPlot = nullptr;
    QPushButton *btOk = nullptr;

    QTimer m_pause;
    TBackgroundFit *m_fitter = nullptr;
    // The input now in the fields, as the key of its fit; empty when it cannot be fitted.
    QString m_key;
    tools::FilmModelData m_model;
    // The fits made while the dialog is open, by their input: typing back to an earlier
    // input shows its fit at once.
    std::map<QString, tools::FilmFit> m_fits;
};
