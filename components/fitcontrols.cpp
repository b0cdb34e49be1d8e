// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/fitcontrols.h"

#include "components/pagecontrol.h"

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTextDocument>

#include <algorithm>

namespace fitting {

Probes::Probes(const QFont &font, QStyle *style)
    : m_font(font), m_style(style), m_holder(std::make_unique<QWidget>())
{
    m_holder->setFont(font);
}

Probes::~Probes() = default;

template <typename T> T *Probes::Made(T *&slot)
{
    if (slot == nullptr) {
        slot = new T(m_holder.get());
        if (m_style != QApplication::style())
            slot->setStyle(m_style);
    }
    return slot;
}

QPushButton *Probes::Button()
{
    return Made(m_button);
}

QCheckBox *Probes::CheckBox()
{
    return Made(m_checkBox);
}

QRadioButton *Probes::RadioButton()
{
    return Made(m_radioButton);
}

QLineEdit *Probes::LineEdit()
{
    return Made(m_lineEdit);
}

QComboBox *Probes::ComboBox()
{
    return Made(m_comboBox);
}

QGroupBox *Probes::GroupBox()
{
    return Made(m_groupBox);
}

Probes &ProbeSet::For(const QFont &font, QStyle *style)
{
    for (const auto &probes : m_probes)
        if (probes->Style() == style && probes->Font() == font)
            return *probes;
    m_probes.push_back(std::make_unique<Probes>(font, style));
    return *m_probes.back();
}

bool ProbeSet::TextKey::operator<(const TextKey &other) const
{
    if (flags != other.flags)
        return flags < other.flags;
    if (width != other.width)
        return width < other.width;
    if (const int order = text.compare(other.text); order != 0)
        return order < 0;
    return font < other.font;
}

QSize ProbeSet::TextSize(const QFont &font, int flags, int width, const QString &text)
{
    const auto [at, added] = m_textSizes.try_emplace(TextKey{font, flags, width, text});
    if (added)
        at->second = QFontMetrics(font).boundingRect(0, 0, width, 2000, flags, text).size();
    return at->second;
}

namespace {

// Containers that keep their own children by coordinates and are fitted in turn.
bool IsPlainContainer(const QWidget *w)
{
    return w->metaObject() == &QWidget::staticMetaObject;
}

Control DescribeWidget(QWidget *w)
{
    Control c;
    c.widget = w;
    c.r0 = w->geometry();
    c.minimum = w->minimumSize();
    if (auto *box = qobject_cast<QGroupBox *>(w)) {
        c.kind = FormKind::GroupBox;
        c.text = box->title();
        c.children = Describe(w);
    } else if (auto *pages = qobject_cast<TPageControl *>(w)) {
        c.pages = pages;
    } else if (IsPlainContainer(w)) {
        c.kind = FormKind::Container;
        c.children = Describe(w);
    } else if (auto *label = qobject_cast<QLabel *>(w)) {
        // The font the label measures its text in is its font once polished.
        label->ensurePolished();
        c.kind = FormKind::Label;
        c.text = label->text();
        c.wordWrap = label->wordWrap();
        c.picture = !label->pixmap().isNull();
        c.mnemonic = label->buddy() != nullptr && c.text.contains(u'&');
        const bool richText = label->textFormat() == Qt::RichText ||
                              (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(c.text));
        c.ownHint = richText || label->frameWidth() > 0 || label->margin() != 0 ||
                    label->indent() > 0 || !label->contentsMargins().isNull();
    } else if (qobject_cast<QAbstractButton *>(w)) {
        c.kind = qobject_cast<QPushButton *>(w) ? FormKind::PushButton : FormKind::CheckBox;
    } else if (auto *field = qobject_cast<QLineEdit *>(w)) {
        c.kind = FormKind::LineEdit;
        c.text = field->text();
    } else if (qobject_cast<QComboBox *>(w) || qobject_cast<QAbstractSpinBox *>(w)) {
        c.kind = FormKind::ComboBox;
    } else if (qobject_cast<QAbstractScrollArea *>(w)) {
        c.kind = FormKind::Table;
    }
    return c;
}

// The size a label's text takes, as QLabel itself measures it for its size hint (a plain text
// label without frame, margin or indent): the width of its longest line, or for a label that
// wraps its words the height of its text at width. Measured here from the text alone, so that
// a label not made yet needs the same room, and a third of what the label's own size hint costs.
QSize LabelTextSize(ProbeSet &probes, const QFont &font, const QStyle *style,
                    const Control &label, int width)
{
    int flags = Qt::AlignLeft | Qt::AlignTop;
    if (label.wordWrap)
        flags |= Qt::TextWordWrap;
    if (label.mnemonic) {
        flags |= Qt::TextShowMnemonic;
        if (!style->styleHint(QStyle::SH_UnderlineShortcut, nullptr, label.widget))
            flags |= Qt::TextHideMnemonic;
    }
    return probes.TextSize(font, flags, width, label.text);
}

QSize LabelNeed(const Control &c, ProbeSet &probes)
{
    const QSize old = c.r0.size();
    if (c.text.isEmpty() || c.picture)
        return old;
    if (c.ownHint) {
        if (c.wordWrap)
            return {old.width(), std::max(old.height(), c.widget->heightForWidth(old.width()))};
        return old.expandedTo(c.widget->sizeHint());
    }
    // A widget's font metrics are those of its font.
    const QFont &font = c.widget ? c.widget->font() : c.probes->Font();
    const QStyle *style = c.widget ? c.widget->style() : c.probes->Style();
    if (c.wordWrap) {
        const int width = std::max(old.width(), c.minimum.width());
        return {old.width(),
                std::max(old.height(), LabelTextSize(probes, font, style, c, width).height())};
    }
    return old.expandedTo(LabelTextSize(probes, font, style, c, 2000));
}

QSize ButtonHint(const Control &c)
{
    if (c.widget)
        return c.widget->sizeHint();
    QAbstractButton *probe = nullptr;
    if (c.kind == FormKind::PushButton) {
        QPushButton *button = c.probes->Button();
        button->setAutoDefault(c.autoDefault);
        button->setDefault(c.isDefault);
        probe = button;
    } else if (c.kind == FormKind::RadioButton) {
        probe = c.probes->RadioButton();
    } else {
        probe = c.probes->CheckBox();
    }
    probe->setText(c.text);
    return probe->sizeHint();
}

QSize LineEditNeed(const Control &c)
{
    const QSize old = c.r0.size();
    const QLineEdit *field =
        c.widget ? qobject_cast<const QLineEdit *>(c.widget) : c.probes->LineEdit();
    // The text it starts with shows whole (the hint is made for 17 x's).
    const QFontMetrics metrics = field->fontMetrics();
    const QSize hint = field->sizeHint();
    const int frame = hint.width() - 17 * metrics.horizontalAdvance(QLatin1Char('x'));
    const int width = c.text.isEmpty() ? 0 : frame + metrics.horizontalAdvance(c.text) + 1;
    return {std::max(old.width(), width), std::max(old.height(), hint.height())};
}

// The height of a list: the same for every pick-only list of one font and style, whatever its
// entries, so one empty stand-in measures it at the cost of none of the entries.
int ComboHeight(const Control &c, ProbeSet &probes)
{
    const auto *list = qobject_cast<const QComboBox *>(c.widget);
    if (c.widget && (list == nullptr || list->isEditable()))
        return c.widget->sizeHint().height();
    Probes &stand = c.widget ? probes.For(c.widget->font(), c.widget->style()) : *c.probes;
    return stand.ComboBox()->sizeHint().height();
}

} // namespace

std::vector<Control> Describe(QWidget *container)
{
    std::vector<Control> controls;
    for (QWidget *child : container->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow() || child->objectName().startsWith(QLatin1String("qt_")))
            continue;
        controls.push_back(DescribeWidget(child));
    }
    return controls;
}

std::vector<Control> Describe(const FormPlan &plan, Probes &probes)
{
    // Built bottom-up: a control's children follow it in the table.
    const std::span<const FormControl> table = plan.Controls();
    std::vector<std::vector<Control>> children(table.size());
    std::vector<Control> form;
    for (std::size_t i = table.size(); i-- > 0;) {
        const FormControl &f = table[i];
        Control c;
        c.kind = f.kind;
        c.r0 = QRect(f.x, f.y, f.width, f.height);
        c.text = plan.Text(f);
        c.wordWrap = f.wordWrap;
        c.mnemonic = f.buddy && c.text.contains(u'&');
        c.autoDefault = f.autoDefault;
        c.isDefault = f.isDefault;
        c.grid = plan.Grid(f);
        c.probes = &probes;
        c.children = std::move(children[i]);
        std::reverse(c.children.begin(), c.children.end());
        (f.parent < 0 ? form : children[static_cast<std::size_t>(f.parent)])
            .push_back(std::move(c));
    }
    std::reverse(form.begin(), form.end());
    return form;
}

QSize LeafNeed(const Control &c, ProbeSet &probes)
{
    const QSize old = c.r0.size();
    switch (c.kind) {
    case FormKind::Label:
        return LabelNeed(c, probes);
    case FormKind::PushButton:
    case FormKind::CheckBox:
    case FormKind::RadioButton:
        return old.expandedTo(ButtonHint(c));
    case FormKind::LineEdit:
        return LineEditNeed(c);
    case FormKind::ComboBox:
        return {old.width(), std::max(old.height(), ComboHeight(c, probes))};
    case FormKind::Table:
        // A table asks for the room of its columns and rows by its minimum size hint.
        if (c.widget)
            return old.expandedTo(c.widget->minimumSizeHint());
        if (c.grid)
            return old.expandedTo(
                TStringAlignGrid::FitSize(old, *c.grid, c.probes->Font(), c.probes->Style()));
        return old;
    default:
        return old;
    }
}

bool IsPushButton(const Control &c)
{
    return c.kind == FormKind::PushButton &&
           (c.widget == nullptr || qobject_cast<const QPushButton *>(c.widget));
}

namespace {

QGroupBox *BoxOf(const Control &box)
{
    if (auto *widget = qobject_cast<QGroupBox *>(box.widget))
        return widget;
    QGroupBox *probe = box.probes->GroupBox();
    probe->setTitle(box.text);
    return probe;
}

} // namespace

int TitleBottom(const Control &c)
{
    if (c.text.isEmpty())
        return 0;
    const QGroupBox *box = BoxOf(c);
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = box->title();
    option.lineWidth = 1;
    option.midLineWidth = 0;
    option.textAlignment = box->alignment();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    if (box->isFlat())
        option.features |= QStyleOptionFrame::Flat;
    const QRect label =
        box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
    return label.bottom() + 1;
}

QSize GroupBoxMinimum(const Control &c)
{
    return BoxOf(c)->minimumSizeHint();
}

} // namespace fitting
