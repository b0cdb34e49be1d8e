// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/frmfilmedit.h"

#include "components/backgroundfit.h"
#include "components/guarded.h"
#include "components/helpcontext.h"
#include "components/helpviewer.h"
#include "components/reciprocityplot.h"
#include "components/uitext.h"
#include "tools/filmsource.h"
#include "tools/numtext.h"
#include "tools/reciprocity.h"
#include "tools/stringtable.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

constexpr int kHelpContext = 2700;
// Points of the curves drawn: enough for a smooth line at the plot's size.
constexpr int kCurvePoints = 80;
// The continuation is drawn over a decade past MaxTime.
constexpr double kContinuationSpan = 10;

// The field texts hold the locale's decimal separator; the typed film keeps ".", whatever the
// locale (tools/filminput.h), and the fields accept both marks.
std::string ToDot(const QString &text)
{
    QString dot = text.trimmed();
    dot.replace(QChar(DecimalSeparator()), u'.');
    return ToStd(dot);
}

QString FromDot(const std::string &text)
{
    QString local = FromStd(text);
    local.replace(u'.', QChar(DecimalSeparator()));
    return local;
}

QLineEdit *NumberField(QWidget *parent, bool stops)
{
    auto *field = new QLineEdit(parent);
    // Digits, either decimal mark and "/" for fractions; a needed time may start with "+".
    const QString pattern = stops ? QStringLiteral("\\+?[0-9.,/]*") : QStringLiteral("[0-9.,/]*");
    field->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), field));
    return field;
}

} // namespace

TFrmFilmEdit::TFrmFilmEdit(const std::optional<tools::FilmInput> &input,
                           std::vector<std::string> taken, Commit commit, QWidget *parent)
    : QDialog(parent), m_taken(std::move(taken)), m_commit(std::move(commit)),
      m_fitter(new TBackgroundFit(this))
{
    setObjectName(QStringLiteral("FrmFilmEdit"));
    setWindowTitle(u' ' + Str(input ? 2711 : 2710));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    SetHelpContext(this, kHelpContext);
    InstallHelpKey(this);
    Build();

    m_pause.setSingleShot(true);
    m_pause.setInterval(kFitPauseMs);
    ConnectGuarded(&m_pause, &QTimer::timeout, this, &TFrmFilmEdit::StartFit);
    connect(m_fitter, &TBackgroundFit::Finished, this,
            [this](const QString &key, const tools::FilmFit &fit) {
                Guarded(this, [&] { FitFinished(key, fit); });
            });

    tools::FilmInput start;
    if (input)
        start = *input;
    Fill(start);
    for (QLineEdit *field : findChildren<QLineEdit *>())
        ConnectGuarded(field, &QLineEdit::textChanged, this, &TFrmFilmEdit::InputChanged);
    for (QRadioButton *button : {rbPowerLaw, rbPairs})
        ConnectGuarded(button, &QRadioButton::toggled, this, &TFrmFilmEdit::InputChanged);
    InputChanged();
    edName->setFocus();
}

TFrmFilmEdit::~TFrmFilmEdit() = default;

void TFrmFilmEdit::Build()
{
    auto *layout = new QVBoxLayout(this);

    auto *nameRow = new QHBoxLayout;
    auto *nameLabel = new QLabel(Str(2712), this);
    edName = new QLineEdit(this);
    edName->setObjectName(QStringLiteral("edName"));
    edName->setMaxLength(static_cast<int>(tools::kMaxFilmNameBytes) + 1);
    nameLabel->setBuddy(edName);
    nameRow->addWidget(nameLabel);
    nameRow->addWidget(edName, 1);
    layout->addLayout(nameRow);

    auto *kindRow = new QHBoxLayout;
    rbPowerLaw = new QRadioButton(Str(2713), this);
    rbPowerLaw->setObjectName(QStringLiteral("rbPowerLaw"));
    rbPairs = new QRadioButton(Str(2714), this);
    rbPairs->setObjectName(QStringLiteral("rbPairs"));
    kindRow->addWidget(rbPowerLaw);
    kindRow->addWidget(rbPairs);
    kindRow->addStretch();
    layout->addLayout(kindRow);

    auto *body = new QHBoxLayout;
    pgModel = new QStackedWidget(this);
    pgModel->setObjectName(QStringLiteral("pgModel"));

    auto *powerPage = new QWidget(pgModel);
    auto *powerGrid = new QGridLayout(powerPage);
    edPower = NumberField(powerPage, false);
    edPower->setObjectName(QStringLiteral("edPower"));
    edFrom = NumberField(powerPage, false);
    edFrom->setObjectName(QStringLiteral("edFrom"));
    edFrom->setPlaceholderText(FromDot("1"));
    const std::pair<int, QLineEdit *> powerFields[] = {{2715, edPower}, {2716, edFrom}};
    int row = 0;
    for (const auto &[id, field] : powerFields) {
        auto *label = new QLabel(Str(id), powerPage);
        label->setBuddy(field);
        field->setAccessibleName(Str(id));
        powerGrid->addWidget(label, row, 0);
        powerGrid->addWidget(field, row++, 1);
    }
    for (const int id : {2717, 2729})
        powerGrid->addWidget(new QLabel(Str(id), powerPage), row++, 0, 1, 2);
    powerGrid->setRowStretch(row, 1);
    pgModel->addWidget(powerPage);

    auto *pairsPage = new QWidget(pgModel);
    auto *pairsGrid = new QGridLayout(pairsPage);
    pairsGrid->setVerticalSpacing(2);
    pairsGrid->addWidget(new QLabel(Str(2718), pairsPage), 0, 1);
    pairsGrid->addWidget(new QLabel(Str(2719), pairsPage), 0, 2);
    for (int i = 0; i < kPairRows; ++i) {
        const QString number = QString::number(i + 1);
        pairsGrid->addWidget(new QLabel(number, pairsPage), i + 1, 0, Qt::AlignRight);
        edMetered[i] = NumberField(pairsPage, false);
        edMetered[i]->setObjectName(QStringLiteral("edMetered") + number);
        edNeeded[i] = NumberField(pairsPage, true);
        edNeeded[i]->setObjectName(QStringLiteral("edNeeded") + number);
        const QString pair = FromStd(tools::FormatStr(2726, ToStd(number)));
        edMetered[i]->setAccessibleName(pair + u' ' + Str(2718));
        edNeeded[i]->setAccessibleName(pair + u' ' + Str(2719));
        pairsGrid->addWidget(edMetered[i], i + 1, 1);
        pairsGrid->addWidget(edNeeded[i], i + 1, 2);
    }
    pgModel->addWidget(pairsPage);
    body->addWidget(pgModel, 1);

    pbPlot = new TReciprocityPlot(this);
    pbPlot->setObjectName(QStringLiteral("pbPlot"));
    pbPlot->setAccessibleName(Str(2728));
    pbPlot->SetAxisTitles(Str(2724), Str(2725), DecimalSeparator());
    body->addWidget(pbPlot, 1);
    layout->addLayout(body, 1);

    auto *rangeRow = new QHBoxLayout;
    auto *rangeLabel = new QLabel(Str(2720), this);
    edRangeMin = NumberField(this, false);
    edRangeMin->setObjectName(QStringLiteral("edRangeMin"));
    edRangeMax = NumberField(this, false);
    edRangeMax->setObjectName(QStringLiteral("edRangeMax"));
    rangeLabel->setBuddy(edRangeMin);
    edRangeMin->setAccessibleName(Str(2720));
    edRangeMax->setAccessibleName(Str(2720) + u' ' + Str(2721));
    rangeRow->addWidget(rangeLabel);
    rangeRow->addWidget(edRangeMin);
    rangeRow->addWidget(new QLabel(Str(2721), this));
    rangeRow->addWidget(edRangeMax);
    rangeRow->addStretch();
    layout->addLayout(rangeRow);

    lbError = new QLabel(this);
    lbError->setObjectName(QStringLiteral("lbError"));
    layout->addWidget(lbError);
    lbReason = new QLabel(this);
    lbReason->setObjectName(QStringLiteral("lbReason"));
    lbReason->setWordWrap(true);
    QPalette warning = lbReason->palette();
    warning.setColor(QPalette::WindowText, Qt::darkRed);
    lbReason->setPalette(warning);
    // Room for three lines, so that the dialog keeps its size as the reasons change.
    lbReason->setMinimumHeight(3 * fontMetrics().lineSpacing());
    lbReason->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(lbReason);

    auto *buttons = new QDialogButtonBox(this);
    btOk = buttons->addButton(Str(2050), QDialogButtonBox::AcceptRole);
    btOk->setObjectName(QStringLiteral("btOk"));
    btOk->setDefault(true);
    QPushButton *cancel = buttons->addButton(Str(2104), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("btCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TFrmFilmEdit::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TFrmFilmEdit::reject);
    layout->addWidget(buttons);

    connect(rbPowerLaw, &QRadioButton::toggled, pgModel,
            [this](bool on) { pgModel->setCurrentIndex(on ? 0 : 1); });
}

void TFrmFilmEdit::Fill(const tools::FilmInput &input)
{
    edName->setText(FromStd(input.Name));
    (input.PowerLaw ? rbPowerLaw : rbPairs)->setChecked(true);
    pgModel->setCurrentIndex(input.PowerLaw ? 0 : 1);
    edPower->setText(FromDot(input.Power));
    edFrom->setText(FromDot(input.From));
    // Pairs typed before fill the rows from the top (empty rows were not kept).
    for (int i = 0; i < kPairRows; ++i) {
        const bool typed = static_cast<std::size_t>(i) < input.Pairs.size();
        edMetered[i]->setText(typed ? FromDot(input.Pairs[i].Metered) : QString());
        edNeeded[i]->setText(typed ? FromDot(input.Pairs[i].Needed) : QString());
    }
    edRangeMin->setText(FromDot(input.RangeMin));
    edRangeMax->setText(FromDot(input.RangeMax));
}

tools::FilmInput TFrmFilmEdit::ReadFields() const
{
    tools::FilmInput input;
    input.Name = tools::TrimFilmName(ToStd(edName->text()));
    input.PowerLaw = rbPowerLaw->isChecked();
    if (input.PowerLaw) {
        input.Power = ToDot(edPower->text());
        input.From = ToDot(edFrom->text());
    } else {
        for (int i = 0; i < kPairRows; ++i)
            input.Pairs.push_back({ToDot(edMetered[i]->text()), ToDot(edNeeded[i]->text())});
        // The rows after the last one used are no part of the film.
        while (!input.Pairs.empty() && input.Pairs.back().Empty())
            input.Pairs.pop_back();
    }
    input.RangeMin = ToDot(edRangeMin->text());
    input.RangeMax = ToDot(edRangeMax->text());
    return input;
}

bool TFrmFilmEdit::FitPending() const
{
    return !m_key.isEmpty() && !m_fits.contains(m_key);
}

// Every change of the input: the name checked, the model read, and its fit shown when it is
// known, otherwise asked for after a pause.
void TFrmFilmEdit::InputChanged()
{
    const tools::FilmInput input = ReadFields();
    const tools::FilmNameFault nameFault = tools::CheckFilmName(input.Name, m_taken);
    const tools::FilmInputCheck check = tools::ReadFilmInput(input);
    const char decSep = DecimalSeparator();

    // The data's own range, where the range fields are left empty.
    const bool read = check.Fault == tools::FilmInputFault::None ||
                      check.Fault == tools::FilmInputFault::RangeBeyondData ||
                      check.Fault == tools::FilmInputFault::RangeNotNumber;
    edRangeMin->setPlaceholderText(
        read ? FromStd(tools::GeneralNumberText(check.Model.DataMin, decSep)) : QString());
    edRangeMax->setPlaceholderText(
        read ? FromStd(tools::GeneralNumberText(check.Model.DataMax, decSep)) : QString());

    // What keeps OK disabled: the name, and the model or its fit, a line each.
    QStringList reasons;
    if (nameFault != tools::FilmNameFault::None)
        reasons << FromStd(tools::FilmNameFaultText(nameFault, input.Name));

    const tools::FilmFit *fit = nullptr;
    if (check.Fault != tools::FilmInputFault::None) {
        m_key.clear();
        m_pause.stop();
        reasons << FromStd(tools::FilmInputFaultText(check, decSep));
        lbError->clear();
    } else {
        tools::FilmInput model = input;
        model.Name.clear();
        m_key = FromStd(tools::FilmSourceLines(model));
        m_model = check.Model;
        if (const auto known = m_fits.find(m_key); known != m_fits.end()) {
            fit = &known->second;
            m_pause.stop();
            lbError->setText(
                FromStd(tools::FormatStr(2722, tools::FitErrorPercentText(*fit, decSep))));
            if (!fit->Faults.empty())
                reasons << FromStd(tools::FitFaultText(*fit, decSep));
        } else {
            lbError->setText(Str(2723));
            m_pause.start();
        }
    }
    lbReason->setText(reasons.join(u'\n'));
    btOk->setEnabled(fit != nullptr && fit->Faults.empty() &&
                     nameFault == tools::FilmNameFault::None);
    ShowPlot(check.Fault == tools::FilmInputFault::None ? &check.Model : nullptr, fit);
}

void TFrmFilmEdit::StartFit()
{
    if (FitPending())
        m_fitter->Request(m_key, m_model);
}

void TFrmFilmEdit::FitFinished(const QString &key, const tools::FilmFit &fit)
{
    m_fits[key] = fit;
    if (key == m_key)
        InputChanged();
}

// The pairs that read as numbers, each on its own, as dots; the fitted formula over its range
// and, dashed, past it.
void TFrmFilmEdit::ShowPlot(const tools::FilmModelData *model, const tools::FilmFit *fit)
{
    TReciprocityPlot::Points measured;
    if (rbPairs->isChecked()) {
        for (int i = 0; i < kPairRows; ++i) {
            tools::FilmInput one;
            one.PowerLaw = false;
            one.Pairs = {{ToDot(edMetered[i]->text()), ToDot(edNeeded[i]->text())}};
            const tools::FilmInputCheck pair = tools::ReadFilmInput(one);
            if (pair.Fault == tools::FilmInputFault::None)
                measured.push_back({pair.Model.Points[0].Metered, pair.Model.Points[0].Corrected});
        }
    }
    TReciprocityPlot::Points fitted, continued;
    if (model && fit && fit->Faults.empty()) {
        const tools::FilmModel entry = tools::MakeFilmModel(
            tools::ParseFilmFormula(fit->Formula).value_or(std::vector<double>{}), fit->MinTime,
            fit->MaxTime);
        fitted = tools::SampleCorrectedTimes(entry, fit->MinTime, fit->MaxTime, kCurvePoints);
        continued = tools::SampleCorrectedTimes(entry, fit->MaxTime,
                                                fit->MaxTime * kContinuationSpan, kCurvePoints);
    }
    pbPlot->SetData(std::move(measured), std::move(fitted), std::move(continued));
}

void TFrmFilmEdit::accept()
{
    if (!btOk->isEnabled())
        return;
    const auto known = m_fits.find(m_key);
    if (known == m_fits.end())
        return;
    bool kept = false;
    Guarded(this, [&] { kept = m_commit(tools::MakeOwnFilm(ReadFields(), known->second)); });
    if (kept)
        QDialog::accept();
}
