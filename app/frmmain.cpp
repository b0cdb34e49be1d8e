// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/frmmain.h"
#include "ui_frmmain.h"

#include "components/fittext.h"
#include "components/helpcontext.h"
#include "components/helpviewer.h"
#include "components/keyfilter.h"
#include "components/placement.h"
#include "components/uitext.h"
#include "components/waitcursor.h"
#include "tools/settings.h"
#include "tools/stringtable.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QScreen>
#include <QStyle>

#include <algorithm>
#include <exception>
#include <functional>
#include <iterator>
#include <span>

namespace {

// The client area below the menu bar, for a small font; the controls and the window grow
// where the texts need more room at the running font.
constexpr QSize kClientSize(536, 396);

// Unit names by their string ids.
constexpr int kMillimetre = 2201;
constexpr int kCentimetre = 2202;
constexpr int kMetre = 2203;
constexpr int kInch = 2204;

constexpr int kMmIn[] = {kMillimetre, kInch};
constexpr int kMmCmIn[] = {kMillimetre, kCentimetre, kInch};
constexpr int kMmCmMIn[] = {kMillimetre, kCentimetre, kMetre, kInch};

// Every unit list of the window, with its units and the label of the field it belongs to
// (which also names the list for screen readers).
struct UnitList
{
    QComboBox *Ui::TfrmMain::*list;
    std::span<const int> units;
    QLabel *Ui::TfrmMain::*label;
};

constexpr UnitList kUnitLists[] = {
    {&Ui::TfrmMain::cbUnits1, kMmIn, &Ui::TfrmMain::Label_01},
    {&Ui::TfrmMain::cbUnits2, kMmIn, &Ui::TfrmMain::Label_02},
    {&Ui::TfrmMain::cbUnits3, kMmIn, &Ui::TfrmMain::Label_07},
    {&Ui::TfrmMain::cbUnits4, kMmIn, &Ui::TfrmMain::Label_08},
    {&Ui::TfrmMain::cbUnits5, kMmIn, &Ui::TfrmMain::Label_11},
    {&Ui::TfrmMain::cbUnits6, kMmIn, &Ui::TfrmMain::Label_16},
    {&Ui::TfrmMain::cbUnits7, kMmIn, &Ui::TfrmMain::Label_19},
    {&Ui::TfrmMain::cbUnits8, kMmIn, &Ui::TfrmMain::Label_21},
    {&Ui::TfrmMain::cbUnitsB1, kMmCmIn, &Ui::TfrmMain::Label_10},
    {&Ui::TfrmMain::cbUnitsC1, kMmCmMIn, &Ui::TfrmMain::Label_15},
    {&Ui::TfrmMain::cbUnitsC2, kMmCmMIn, &Ui::TfrmMain::Label_17},
};

// Help contexts of the tab pages, in page order.
constexpr int kPageHelpContexts[] = {3000, 3100, 3200, 3300, 3400};

// What FormCreate adds to a caption from the string table.
enum class Decor
{
    None,
    GroupBox, // one blank before and one after
    Calculate // two blanks, an en dash and ">" after
};

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

// A label's caption without the colon at its end, to name another control after it.
QString WithoutColon(QString text)
{
    if (text.endsWith(u':'))
        text.chop(1);
    return text.trimmed();
}

template <typename Fn> void IgnoreFailure(Fn fn)
{
    try {
        fn();
    } catch (const std::exception &) {
        // Window placement is a convenience: a value that is missing or cannot be read or
        // written leaves the window where it is.
    }
}

} // namespace

TfrmMain::TfrmMain(QWidget *parent) : QMainWindow(parent), ui(std::make_unique<Ui::TfrmMain>())
{
    ui->setupUi(this);

    // Fixed size: single border, system menu and minimise box, no maximise box.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    centralWidget()->setFixedSize(kClientSize);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    for (int page = 0; page < ui->PageControl->count(); ++page)
        SetHelpContext(ui->PageControl->widget(page), kPageHelpContexts[page]);
    PageControlChange(ui->PageControl->currentIndex());

    ui->cbFilmName->SetDropDownFixedWidth(0);
    for (TStringAlignGrid *grid : {ui->sgridExposureTimes, ui->sgridZoneplate})
        grid->SetColCount(2);
    GreyResultFields();
    SetPictures();
    InstallKeyFilters();

    WireShell();
    InstallHelpKey(this);
    WireDiameterTab();
    WireExposureTab();
    WireAngleTab();
    WireMagnificationTab();
    WireZonePlateTab();

    FormCreate();
}

TfrmMain::~TfrmMain()
{
    // The controls outlive this part of the window: one that loses the focus while the base
    // class takes the window down must not call a handler that reads the form.
    for (QObject *child : findChildren<QObject *>())
        child->disconnect(this);
}

void TfrmMain::FormCreate()
{
    const WaitCursor hourglass;
    const std::optional<QPoint> stored = StoredPosition();
    Guarded(this, [] { tools::LoadPreferences(); });
    SetCaptions();
    SetAccessibleNames();
    FillUnitLists();
    SelectMainUnit();

    // Each remaining step stands on its own: one that fails is reported and the others run.
    const QString startWave = u'0' + QChar(DecimalSeparator()) + QStringLiteral("00055");
    const std::function<void()> steps[] = {
        [this] { FillConstantList(DiameterConstant, false); },
        [this] { FillConstantList(ZonePlateConstant, false); },
        // Like a change by the user, these run the fields' change handlers.
        [this, &startWave] { ui->edWave1->setText(startWave); },
        [this, &startWave] { ui->edWave4->setText(startWave); },
        [this] { ResetExposureTable(); },
        [this] { LoadFilmDatabase(); },
        [this] { CompleteExposureTimeLabels(); },
    };
    for (const auto &step : steps)
        Guarded(this, step);

    // Placed by the final size, which is known once every text is in place.
    FitToFont();
    PlaceWindow(stored);
}

// The controls, the tables' columns and the window grow where a text needs more room at the
// running font than the coordinates of the form give it.
void TfrmMain::FitToFont()
{
    FitExposureGrid();
    FitZonePlateGrid();
    centralWidget()->setFixedSize(FitFormToText(centralWidget()));
    layout()->activate(); // settles the window's fixed size
}

// The stored position (left, top), if there is one.
std::optional<QPoint> TfrmMain::StoredPosition()
{
    std::optional<QPoint> stored;
    IgnoreFailure([&stored] {
        if (tools::SettingExists("Top") && tools::SettingExists("Left")) {
            const int top = tools::ReadSettingInteger("Top");
            const int left = tools::ReadSettingInteger("Left");
            stored = QPoint(left, top);
        }
    });
    return stored;
}

// At the stored position when the user can reach the window there by its title bar on one of
// the screens connected now; centred on the primary screen otherwise (no position stored, a
// monitor unplugged, a smaller screen).
void TfrmMain::PlaceWindow(const std::optional<QPoint> &stored)
{
    const int titleBar = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    if (stored && TitleBarReachable(QRect(*stored, frameSize()), titleBar, ScreenAreas())) {
        move(*stored);
        return;
    }
    CentreOnScreen();
}

void TfrmMain::CentreOnScreen()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect area = screen->availableGeometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

// The position when the window last became active; FormClose compares it with the position at
// the end, so a move is kept only when nothing came between it and the close.
void TfrmMain::FormActivate()
{
    IgnoreFailure([this] {
        tools::WriteSettingInteger("sTop", pos().y());
        tools::WriteSettingInteger("sLeft", pos().x());
    });
}

void TfrmMain::FormClose()
{
    IgnoreFailure([this] {
        const int top = tools::ReadSettingInteger("sTop");
        const int left = tools::ReadSettingInteger("sLeft");
        if (pos().y() != top || pos().x() != left) {
            tools::WriteSettingInteger("Top", pos().y());
            tools::WriteSettingInteger("Left", pos().x());
        }
    });
}

bool TfrmMain::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QMainWindow::event(event);
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
}

void TfrmMain::SetCaptions()
{
    setWindowTitle(u' ' + Str(1));

    struct Caption
    {
        QWidget *widget;
        int id;
        Decor decor;
    };
    const Caption captions[] = {
        {ui->btExit, 1110, Decor::None},
        // Diameter tab.
        {ui->TabSheet1, 1300, Decor::None},
        {ui->GroupBox1, 1301, Decor::GroupBox},
        {ui->Label_01, 1302, Decor::None},
        {ui->Label_02, 1303, Decor::None},
        {ui->Label_03, 1304, Decor::None},
        {ui->Label_04, kMillimetre, Decor::None},
        {ui->Label_05, 1305, Decor::None},
        {ui->Label_06, 1306, Decor::None},
        {ui->Label_07, 1307, Decor::None},
        {ui->Label_08, 1308, Decor::None},
        {ui->GroupBox2, 1309, Decor::GroupBox},
        {ui->Label_09, 1310, Decor::None},
        {ui->lb_diameter, 1340, Decor::None},
        {ui->lb_constant, 1341, Decor::None},
        {ui->lb_imagedistance, 1342, Decor::None},
        {ui->lb_wavelength, 1343, Decor::None},
        // Angle tab.
        {ui->TabSheet2, 1400, Decor::None},
        {ui->Label_10, 1401, Decor::None},
        {ui->Label_11, 1402, Decor::None},
        {ui->Label_12, 1403, Decor::None},
        {ui->Label_13, 1405, Decor::None},
        {ui->Label_14, 1406, Decor::None},
        {ui->Label_14b, 1407, Decor::None},
        {ui->GroupBox3, 1404, Decor::GroupBox},
        // Magnification tab.
        {ui->TabSheet3, 1500, Decor::None},
        {ui->Label_15, 1501, Decor::None},
        {ui->Label_16, 1502, Decor::None},
        {ui->Label_17, 1503, Decor::None},
        {ui->Label_18, 1504, Decor::None},
        {ui->Label_19, 1505, Decor::None},
        // Zone plate tab.
        {ui->TabSheet4, 1600, Decor::None},
        {ui->GroupBox4, 1601, Decor::GroupBox},
        {ui->Label_20, 1602, Decor::None},
        {ui->Label_21, 1603, Decor::None},
        {ui->Label_22, 1604, Decor::None},
        {ui->Label_23, kMillimetre, Decor::None},
        {ui->Label_24, 1605, Decor::None},
        {ui->Label_25, 1606, Decor::None},
        {ui->btCalculate, 1615, Decor::Calculate},
        {ui->btCreateZP, 1616, Decor::None},
        // Exposure tab.
        {ui->TabSheet5, 1800, Decor::None},
        {ui->gbFnumber, 1801, Decor::GroupBox},
        {ui->Label5_01, 1802, Decor::None},
        {ui->Label5_02, 1803, Decor::None},
        {ui->gbReciprocityFailure, 1804, Decor::GroupBox},
        {ui->chbReciprocity, 1805, Decor::None},
        {ui->Label5_03, 1806, Decor::None},
        {ui->btCalculate5, 1807, Decor::Calculate},
        {ui->btSaveExposureTimes, 1808, Decor::None},
    };
    for (const Caption &caption : captions) {
        const QString text = Decorated(caption.id, caption.decor);
        if (const int page = ui->PageControl->indexOf(caption.widget); page >= 0) {
            ui->PageControl->setTabText(page, text);
            ui->PageControl->setTabToolTip(page, text); // the whole caption of an elided tab
        } else if (auto *box = qobject_cast<QGroupBox *>(caption.widget))
            box->setTitle(text);
        else if (auto *label = qobject_cast<QLabel *>(caption.widget))
            label->setText(text);
        else if (auto *button = qobject_cast<QAbstractButton *>(caption.widget))
            button->setText(text);
    }

    const std::pair<QAction *, int> menuItems[] = {
        {ui->file1->menuAction(), 1000},
        {ui->exit1, 1003},
        {ui->tools1->menuAction(), 1020},
        {ui->convert1, 1021},
        {ui->films1, 2700},
        {ui->preferences1, 1022},
        {ui->help1->menuAction(), 1040},
        {ui->content1, 1041},
        {ui->about1, 1042},
    };
    for (const auto &[action, id] : menuItems)
        action->setText(Str(id));
}

// Fields whose caption is their label's (a buddy) are named by it for screen readers; the
// others get a name of their own here.
void TfrmMain::SetAccessibleNames()
{
    for (const UnitList &unitList : kUnitLists) {
        const QString field = WithoutColon(((*ui).*unitList.label)->text());
        ((*ui).*unitList.list)->setAccessibleName(FromStd(tools::FormatStr(1111, ToStd(field))));
    }
    const QString format = WithoutColon(ui->Label_10->text());
    ui->edFormatA->setAccessibleName(format + QStringLiteral(" A"));
    ui->edFormatB->setAccessibleName(format + QStringLiteral(" B"));
    ui->cbFilmName->setAccessibleName(WithoutColon(ui->chbReciprocity->text()));
    ui->sgridExposureTimes->setAccessibleName(Str(1800));
    ui->sgridZoneplate->setAccessibleName(Str(1600));
}

// Result fields: read-only, greyed like a button face, skipped by the Tab key (the form makes
// them read-only and click-focus only, so that their text can still be selected and copied).
void TfrmMain::GreyResultFields()
{
    for (QLineEdit *field : findChildren<QLineEdit *>()) {
        if (!field->isReadOnly())
            continue;
        QPalette palette = field->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Button));
        field->setPalette(palette);
    }
}

void TfrmMain::FillUnitLists()
{
    for (const UnitList &unitList : kUnitLists) {
        QComboBox *list = (*ui).*unitList.list;
        // Filling in code is no change by the user: no recalculation runs (and the constant
        // lists the calculations read are not filled yet).
        const QSignalBlocker blocker(list);
        list->clear();
        for (const int unit : unitList.units)
            list->addItem(Str(unit));
    }
}

// Selecting in code runs no change handler: whoever changes the main unit recalculates.
void TfrmMain::SelectMainUnit()
{
    for (const UnitList &unitList : kUnitLists) {
        QComboBox *list = (*ui).*unitList.list;
        const QSignalBlocker blocker(list);
        int index = 0;
        if (tools::MainUnit == 1) {
            const auto inch = std::ranges::find(unitList.units, kInch);
            index = static_cast<int>(std::distance(unitList.units.begin(), inch));
        }
        list->setCurrentIndex(index);
    }
}

void TfrmMain::InstallKeyFilters()
{
    using Kind = TNumericKeyFilter::Kind;
    const std::pair<QLineEdit *, Kind> fields[] = {
        {ui->edPinholeDiameter1, Kind::Decimal},
        {ui->edImageDistance1, Kind::Decimal},
        {ui->edWave1, Kind::Decimal},
        {ui->edFormatA, Kind::Decimal},
        {ui->edFormatB, Kind::Decimal},
        {ui->edImageDistance2, Kind::Decimal},
        {ui->edObjectdistance, Kind::Decimal},
        {ui->edImageDistance3, Kind::Decimal},
        {ui->edObjectSize, Kind::Decimal},
        {ui->edImageDistance4, Kind::Decimal},
        {ui->edWave4, Kind::Decimal},
        {ui->edFnumber5, Kind::Integer},
        {ui->edNumZones, Kind::Integer},
    };
    for (const auto &[field, kind] : fields)
        TNumericKeyFilter::Install(field, kind);
}

void TfrmMain::WireShell()
{
    Wire(ui->btExit, &QPushButton::clicked, &TfrmMain::btExitClick);
    Wire(ui->exit1, &QAction::triggered, &TfrmMain::exit1Click);
    Wire(ui->convert1, &QAction::triggered, &TfrmMain::convert1Click);
    Wire(ui->films1, &QAction::triggered, &TfrmMain::films1Click);
    Wire(ui->preferences1, &QAction::triggered, &TfrmMain::preferences1Click);
    Wire(ui->content1, &QAction::triggered, &TfrmMain::content1Click);
    Wire(ui->about1, &QAction::triggered, &TfrmMain::about1Click);
    connect(ui->PageControl, &QTabWidget::currentChanged, this, [this](int index) {
        PageControlChange(index);
        if (ui->PageControl->widget(index) == ui->TabSheet2)
            Run(&TfrmMain::TabSheet2Show);
    });
    for (QComboBox *list : {ui->cbConstant1, ui->cbConstant4})
        list->installEventFilter(this);
}

bool TfrmMain::eventFilter(QObject *watched, QEvent *event)
{
    // A click can change a list's entry before its focus arrives: a press counts as entering.
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::MouseButtonPress) {
        if (watched == ui->cbConstant1)
            Run(&TfrmMain::cbConstant1Enter);
        else if (watched == ui->cbConstant4)
            Run(&TfrmMain::cbConstant4Enter);
    }
    return QMainWindow::eventFilter(watched, event);
}

// Enter reaches the window when the focused control did not take it (a focused button
// presses itself).
void TfrmMain::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        PressDefaultButton();
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

// On the exposure and zone plate tabs, Enter in any control but a button presses the tab's
// Calculate button when it is enabled; the other tabs have no default button.
void TfrmMain::PressDefaultButton()
{
    if (qobject_cast<QPushButton *>(QApplication::focusWidget()) != nullptr)
        return;
    const std::pair<QWidget *, QPushButton *> defaults[] = {
        {ui->TabSheet5, ui->btCalculate5},
        {ui->TabSheet4, ui->btCalculate},
    };
    for (const auto &[page, button] : defaults) {
        if (ui->PageControl->currentWidget() == page && button->isEnabled())
            button->click();
    }
}

void TfrmMain::PageControlChange(int index)
{
    const bool known = index >= 0 && index < static_cast<int>(std::size(kPageHelpContexts));
    SetHelpContext(ui->PageControl, known ? kPageHelpContexts[index] : 0);
}

void TfrmMain::btExitClick()
{
    close();
}

void TfrmMain::exit1Click()
{
    close();
}
