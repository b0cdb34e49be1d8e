// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the pages of the main window are made of alike: captions from the string table, unit
// lists, numeric fields, greyed result fields and pictures. Each page keeps a table of its own
// of each, by the names of its controls, and builds from it; the captions also go into the
// plan of a page that is not built yet (components/formplan.h).

#include "components/keyfilter.h"

#include <QString>
#include <QWidget>

#include <span>

class FormPlan;

// What a caption adds to its text from the string table.
enum class Decor
{
    None,
    GroupBox, // one blank before and one after
    Calculate // two blanks, an en dash and ">" after
};

QString Decorated(int id, Decor decor);

struct Caption
{
    const char *control;
    int id;
    Decor decor = Decor::None;
};

// Gives each control of form named in captions its text: a label's, a button's or a group
// box's title.
void SetCaptions(QWidget *form, std::span<const Caption> captions);
void PlanCaptions(FormPlan &plan, std::span<const Caption> captions);

// Unit names by their string ids, and the units the lists offer.
inline constexpr int kMillimetre = 2201;
inline constexpr int kCentimetre = 2202;
inline constexpr int kMetre = 2203;
inline constexpr int kInch = 2204;
inline constexpr int kMmIn[] = {kMillimetre, kInch};
inline constexpr int kMmCmIn[] = {kMillimetre, kCentimetre, kInch};
inline constexpr int kMmCmMIn[] = {kMillimetre, kCentimetre, kMetre, kInch};

// A unit list, its units and the label of the field it belongs to, which names the list for
// screen readers.
struct UnitList
{
    const char *list;
    std::span<const int> units;
    const char *label;
};

// Fills the lists and names them (the labels have their captions by now), then selects the
// main unit. Filling in code is no change by the user: no recalculation runs.
void FillUnitLists(QWidget *form, std::span<const UnitList> lists);
// Every list on the main unit (tools::MainUnit): for inches the "in" item, which stands at a
// different place in each kind of list. Selecting in code runs no change handler: whoever
// changes the main unit recalculates.
void SelectMainUnit(QWidget *form, std::span<const UnitList> lists);

struct NumericField
{
    const char *field;
    TNumericKeyFilter::Kind kind;
};

void InstallKeyFilters(QWidget *form, std::span<const NumericField> fields);

// Result fields: read-only, greyed like a button face, skipped by the Tab key (the forms make
// them read-only and click-focus only, so that their text can still be selected and copied).
void GreyResultFields(QWidget *form);

// A picture label and the picture it shows (components/pictures.h).
struct PicturePlace
{
    const char *label;
    const char *picture;
};

void SetPictures(QWidget *form, std::span<const PicturePlace> pictures);

// A label's caption without the colon at its end, to name another control after it.
QString WithoutColon(QString text);

// The text both wavelength fields start with: 0.00055 mm (550 nm) in the locale's format.
QString StartWavelength();

// The control of form named name; the tables name only controls that exist.
template <typename T = QWidget> T *Control(const QWidget *form, const char *name)
{
    T *control = form->findChild<T *>(QLatin1String(name));
    Q_ASSERT_X(control != nullptr, "Control", name);
    return control;
}
