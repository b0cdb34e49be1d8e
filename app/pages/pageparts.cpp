// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/pages/pageparts.h"

#include "components/formplan.h"
#include "components/pictures.h"
#include "components/uitext.h"
#include "tools/settings.h"
#include "tools/stringtable.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <iterator>

QString Decorated(int id, Decor decor)
{
    const QString text = Str(id);
    switch (decor) {
    case Decor::GroupBox:
        return u' ' + text + u' ';
    case Decor::Calculate:
        return text + QStringLiteral("  \u2013>");
    case Decor::None:
        break;
    }
    return text;
}

void SetCaptions(QWidget *form, std::span<const Caption> captions)
{
    for (const Caption &caption : captions) {
        QWidget *control = Control(form, caption.control);
        const QString text = Decorated(caption.id, caption.decor);
        if (auto *box = qobject_cast<QGroupBox *>(control))
            box->setTitle(text);
        else if (auto *label = qobject_cast<QLabel *>(control))
            label->setText(text);
        else if (auto *button = qobject_cast<QAbstractButton *>(control))
            button->setText(text);
    }
}

void PlanCaptions(FormPlan &plan, std::span<const Caption> captions)
{
    for (const Caption &caption : captions)
        plan.SetText(caption.control, Decorated(caption.id, caption.decor));
}

void FillUnitLists(QWidget *form, std::span<const UnitList> lists)
{
    for (const UnitList &unitList : lists) {
        auto *list = Control<QComboBox>(form, unitList.list);
        const QSignalBlocker blocker(list);
        list->clear();
        for (const int unit : unitList.units)
            list->addItem(Str(unit));
        const QString field = WithoutColon(Control<QLabel>(form, unitList.label)->text());
        list->setAccessibleName(FromStd(tools::FormatStr(1111, ToStd(field))));
    }
    SelectMainUnit(form, lists);
}

void SelectMainUnit(QWidget *form, std::span<const UnitList> lists)
{
    for (const UnitList &unitList : lists) {
        auto *list = Control<QComboBox>(form, unitList.list);
        const QSignalBlocker blocker(list);
        int index = 0;
        if (tools::MainUnit == 1) {
            const auto inch = std::ranges::find(unitList.units, kInch);
            index = static_cast<int>(std::distance(unitList.units.begin(), inch));
        }
        list->setCurrentIndex(index);
    }
}

void InstallKeyFilters(QWidget *form, std::span<const NumericField> fields)
{
    for (const NumericField &field : fields)
        TNumericKeyFilter::Install(Control<QLineEdit>(form, field.field), field.kind);
}

void GreyResultFields(QWidget *form)
{
    for (QLineEdit *field : form->findChildren<QLineEdit *>()) {
        if (!field->isReadOnly())
            continue;
        QPalette palette = field->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Button));
        field->setPalette(palette);
    }
}

void SetPictures(QWidget *form, std::span<const PicturePlace> pictures)
{
    for (const PicturePlace &place : pictures) {
        auto *label = Control<QLabel>(form, place.label);
        label->setPixmap(Picture(QString::fromLatin1(place.picture), form->devicePixelRatioF()));
        label->setAlignment(Qt::AlignCenter);
    }
}

QString WithoutColon(QString text)
{
    if (text.endsWith(u':'))
        text.chop(1);
    return text.trimmed();
}

QString StartWavelength()
{
    return u'0' + QChar(DecimalSeparator()) + QStringLiteral("00055");
}
