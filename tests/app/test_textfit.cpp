// SPDX-License-Identifier: GPL-3.0-or-later
// No text of the program is cut, at the fonts users really have: every visible text of every
// tab and dialog (labels, buttons, check and radio boxes, group box titles, tab captions, the
// cells of the result tables) fits the room its control gives it, no control covers another's
// text and no control reaches beyond its parent. The walk finds the controls itself, so that
// controls added later are checked too.
#include "app/frmmain.h"
#include "components/guarded.h"
#include "components/pagecontrol.h"
#include "components/stringaligngrid.h"
#include "components/uitext.h"
#include "dialogs/filmshost.h"
#include "dialogs/frmabout.h"
#include "dialogs/frmconvert.h"
#include "dialogs/frmcreatezp.h"
#include "dialogs/frmcustomconstant.h"
#include "dialogs/frmfilmedit.h"
#include "dialogs/frmfilms.h"
#include "dialogs/frmpreferences.h"
#include "tools/cp1252.h"
#include "tools/settings.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QStyleOptionHeader>
#include <QTabBar>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

// One film of the user's own, typed as pairs with stops.
tools::FilmInput OwnFilmInput()
{
    tools::FilmInput input;
    input.Name = "Fomapan 100 Classic (own test, developed in Rodinal 1+50)";
    input.PowerLaw = false;
    input.Pairs = {{"1", "+1/3"}, {"10", "+1"}, {"100", "+2.5"}};
    return input;
}

struct OneFilmHost final : IFilmsHost
{
    std::vector<std::string> ShippedFilmNames() const override { return {}; }
    const std::vector<tools::OwnFilm> &OwnFilms() const override { return films; }
    bool StoreOwnFilms(const std::vector<tools::OwnFilm> &) override { return false; }
    std::string OwnFilmsFolder() const override { return {}; }
    std::vector<tools::OwnFilm> films = {{{"Fomapan 100", "+0+2", 1, 100}, OwnFilmInput()}};
};

QString Name(const QWidget *w)
{
    return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                     : w->objectName();
}

bool Shown(const QWidget *w, const QWidget *form)
{
    return w->isVisibleTo(form);
}

// What does not fit in the form as it shows now, one line per fault.
class Inspector
{
public:
    explicit Inspector(QWidget *form) : m_form(form) {}

    QStringList Faults()
    {
        for (QWidget *w : m_form->findChildren<QWidget *>()) {
            if (!Shown(w, m_form) || w->isWindow())
                continue;
            if (auto *label = qobject_cast<QLabel *>(w))
                CheckLabel(label);
            else if (auto *button = qobject_cast<QPushButton *>(w))
                CheckButton(button, QStyle::SE_PushButtonContents);
            else if (auto *box = qobject_cast<QCheckBox *>(w))
                CheckButton(box, QStyle::SE_CheckBoxContents);
            else if (auto *radio = qobject_cast<QRadioButton *>(w))
                CheckButton(radio, QStyle::SE_RadioButtonContents);
            else if (auto *group = qobject_cast<QGroupBox *>(w))
                CheckGroupBox(group);
            else if (auto *pages = qobject_cast<TPageControl *>(w))
                CheckTabs(pages);
            else if (auto *grid = qobject_cast<TStringAlignGrid *>(w))
                CheckGrid(grid);
            CheckInsideParent(w);
        }
        return m_faults;
    }

private:
    void Fault(const QWidget *w, const QString &what)
    {
        m_faults << Name(w) + QStringLiteral(": ") + what;
    }

    static QString Size(QSize s) { return QStringLiteral("%1x%2").arg(s.width()).arg(s.height()); }

    // A control placed by coordinates lies within its parent.
    void CheckInsideParent(QWidget *w)
    {
        QWidget *parent = w->parentWidget();
        const bool placed =
            parent && (parent->metaObject() == &QWidget::staticMetaObject ||
                       qobject_cast<QGroupBox *>(parent) || qobject_cast<QDialog *>(parent));
        if (placed && !parent->rect().contains(w->geometry()))
            Fault(w, QStringLiteral("reaches beyond %1").arg(Name(parent)));
    }

    // Whether another shown control of the same parent covers rect (in parent's coordinates).
    void CheckUncovered(const QWidget *owner, const QRect &rect)
    {
        for (const QWidget *other :
             owner->parentWidget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (other != owner && Shown(other, m_form) && other->geometry().intersects(rect))
                Fault(owner, QStringLiteral("text covered by %1").arg(Name(other)));
        }
    }

    void CheckLabel(QLabel *label)
    {
        if (label->text().isEmpty() || !label->pixmap().isNull())
            return;
        const QRect room = label->contentsRect().adjusted(label->margin(), label->margin(),
                                                          -label->margin(), -label->margin());
        int flags = Qt::TextShowMnemonic | int(label->alignment());
        if (label->wordWrap())
            flags |= Qt::TextWordWrap;
        const QRect text = label->fontMetrics().boundingRect(room, flags, label->text());
        if (text.width() > room.width() || text.height() > room.height())
            Fault(label, QStringLiteral("\"%1\" needs %2 in %3")
                             .arg(label->text(), Size(text.size()), Size(room.size())));
        CheckUncovered(label, text.translated(label->pos()));
    }

    void CheckButton(QAbstractButton *button, QStyle::SubElement contents)
    {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QRect room = button->style()->subElementRect(contents, &option, button);
        const QSize text = button->fontMetrics().size(Qt::TextShowMnemonic, button->text());
        if (text.width() > room.width() || text.height() > room.height())
            Fault(button, QStringLiteral("\"%1\" needs %2 in %3")
                              .arg(button->text(), Size(text), Size(room.size())));
    }

    void CheckGroupBox(QGroupBox *box)
    {
        if (box->title().isEmpty())
            return;
        QStyleOptionGroupBox option;
        option.initFrom(box);
        option.text = box->title();
        option.lineWidth = 1;
        option.textAlignment = box->alignment();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        const QRect title = box->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                         QStyle::SC_GroupBoxLabel, box);
        if (!box->rect().contains(title))
            Fault(box, QStringLiteral("title \"%1\" cut").arg(box->title()));
        for (const QWidget *child : box->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            if (Shown(child, m_form) && child->geometry().intersects(title))
                Fault(box, QStringLiteral("title covered by %1").arg(Name(child)));
    }

    // Each caption with the room of its text and the padding of a tab.
    void CheckTabs(TPageControl *pages)
    {
        const QTabBar *bar = pages->tabBar();
        const int padding = bar->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, bar);
        for (int i = 0; i < pages->count(); ++i) {
            const int shown = bar->tabRect(i).width();
            const int need =
                bar->fontMetrics().size(Qt::TextShowMnemonic, pages->tabText(i)).width() + padding;
            if (shown < need)
                Fault(pages, QStringLiteral("tab \"%1\" %2 pixels wide, needs %3")
                                 .arg(pages->tabText(i))
                                 .arg(shown)
                                 .arg(need));
        }
        const QRect last = bar->tabRect(pages->count() - 1);
        if (bar->mapTo(pages, last.topRight()).x() >= pages->width())
            Fault(pages, QStringLiteral("tabs reach beyond the control"));
    }

    void CheckGrid(TStringAlignGrid *grid)
    {
        const QHeaderView *header = grid->horizontalHeader();
        const int visibleWidth = grid->viewport()->width();
        for (int col = 0; col < grid->ColCount(); ++col) {
            const int x = header->sectionViewportPosition(col);
            const int width = header->sectionSize(col);
            if (width == 0)
                continue;
            if (x < 0 || x + width > visibleWidth)
                Fault(grid, QStringLiteral("column %1 (%2 to %3) beyond the visible %4")
                                .arg(col)
                                .arg(x)
                                .arg(x + width)
                                .arg(visibleWidth));
            if (!header->isHidden()) {
                QStyleOptionHeader option;
                option.initFrom(header);
                option.rect = QRect(x, 0, width, header->height());
                option.section = col;
                option.text = grid->Cell(col, 0);
                const QRect room =
                    header->style()->subElementRect(QStyle::SE_HeaderLabel, &option, header);
                const QSize text = header->fontMetrics().size(0, option.text);
                if (text.width() > room.width() || text.height() > room.height())
                    Fault(grid, QStringLiteral("header \"%1\" needs %2 in %3")
                                    .arg(option.text, Size(text), Size(room.size())));
            }
            // The data cells, with the margin the grid keeps around a cell's text.
            for (int row = 1; row < grid->RowCount(); ++row) {
                if (grid->RowHeight(row) == 0 || grid->Cell(col, row).isEmpty())
                    continue;
                const QRect cell = grid->visualRect(grid->model()->index(row - 1, col));
                const QSize text = grid->fontMetrics().size(0, grid->Cell(col, row));
                if (text.width() + 4 > cell.width() || text.height() > cell.height())
                    Fault(grid, QStringLiteral("cell \"%1\" needs %2 in %3")
                                    .arg(grid->Cell(col, row), Size(text), Size(cell.size())));
            }
        }
    }

    QWidget *m_form;
    QStringList m_faults;
};

} // namespace

class TestTextFit : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        InitDecimalSeparator();
        SetErrorReporter([this](QWidget *, const QString &message) { m_errors << message; });
        qputenv("LUMIDRA_SETTINGS", QFile::encodeName(m_settings.filePath("settings.reg")));
    }

    void everyTextFits_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<int>("points");
        QTest::addColumn<QString>("form");
        // Qt's default on a Debian desktop, and two wider ones.
        const std::pair<const char *, int> fonts[] = {
            {"DejaVu Sans", 9}, {"DejaVu Sans", 11}, {"Noto Sans", 10}};
        for (const auto &[family, points] : fonts)
            for (const char *form :
                 {"main window", "about", "options", "unit conversion", "user constant",
                  "create PDF", "films", "film as pairs", "film as a power law"})
                QTest::addRow("%s %d, %s", family, points, form)
                    << QString::fromLatin1(family) << points << QString::fromLatin1(form);
    }

    void everyTextFits()
    {
        QFETCH(QString, family);
        QFETCH(int, points);
        QFETCH(QString, form);
        if (!QFontDatabase::families().contains(family)) {
            const QString why =
                family + QStringLiteral(" is not installed (scripts/install-deps.sh "
                                        "installs it)");
            if (qgetenv("CI") == "true")
                QFAIL(qPrintable(why));
            QSKIP(qPrintable(why));
        }
        QApplication::setFont(QFont(family, points));
        tools::MainUnit = 0;
        tools::DecNum = 3;

        TfrmMain window;
        window.CreateConvertDialog();
        window.CreateCustomConstantDialog();
        window.show();
        QStringList faults;
        const auto inspect = [&faults](QWidget *shown, const QString &state) {
            QApplication::processEvents();
            for (const QString &fault : Inspector(shown).Faults())
                faults << state + QStringLiteral(": ") + fault;
        };

        if (form == QLatin1String("main window")) {
            // The pages not shown at start-up are built when first selected, into the room
            // the window made for them at start-up: the window keeps its size.
            const QSize started = window.size();
            for (const auto &[state, change] : MainWindowStates(window)) {
                change();
                inspect(&window, state);
                if (window.size() != started)
                    faults << state + QStringLiteral(
                                          ": the window changed its size from %1x%2 to %3x%4")
                                          .arg(started.width())
                                          .arg(started.height())
                                          .arg(window.width())
                                          .arg(window.height());
            }
        } else {
            std::unique_ptr<QDialog> owned;
            QDialog *dialog = nullptr;
            OneFilmHost films;
            const auto keep = [](const tools::OwnFilm &) { return true; };
            if (form == QLatin1String("films")) {
                owned = std::make_unique<TFrmFilms>(films, &window);
            } else if (form == QLatin1String("film as pairs")) {
                owned = std::make_unique<TFrmFilmEdit>(OwnFilmInput(), std::vector<std::string>{},
                                                       keep, &window);
            } else if (form == QLatin1String("film as a power law")) {
                // With the longest reasons under the fields: a name taken, a P out of range.
                tools::FilmInput input = OwnFilmInput();
                input.PowerLaw = true;
                input.Power = "3.5";
                owned = std::make_unique<TFrmFilmEdit>(
                    input, std::vector<std::string>{tools::Utf8ToCp1252(input.Name)}, keep,
                    &window);
            } else if (form == QLatin1String("about")) {
                owned = std::make_unique<TFrmAbout>(QStringLiteral("2024-06"), &window);
            } else if (form == QLatin1String("options")) {
                owned = std::make_unique<TFrmPreferences>(&window);
            } else if (form == QLatin1String("create PDF")) {
                TZonePlateInputs plate;
                plate.zoneCount = 3;
                owned = std::make_unique<TFrmCreateZP>(plate, &window);
                owned->setAttribute(Qt::WA_DeleteOnClose, false);
            } else if (form == QLatin1String("unit conversion")) {
                dialog = window.ConvertDialog();
            } else {
                dialog = window.CustomConstantDialog();
            }
            if (owned)
                dialog = owned.get();
            dialog->show();
            inspect(dialog, form);
            dialog->hide();
        }
        QApplication::setFont(QFont());
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
        QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(QLatin1Char('|'))));
    }

private:
    // Each tab in turn, then the result tables in their states: filled, and the zone plate
    // table with the narrower column of many zones.
    static std::vector<std::pair<QString, std::function<void()>>> MainWindowStates(TfrmMain &window)
    {
        const auto child = [&window](const char *name) {
            return window.findChild<QWidget *>(QLatin1String(name));
        };
        auto *pages = window.findChild<QTabWidget *>(QStringLiteral("PageControl"));
        std::vector<std::pair<QString, std::function<void()>>> states;
        for (int page = 0; page < pages->count(); ++page)
            states.emplace_back(QStringLiteral("tab %1").arg(page),
                                [pages, page] { pages->setCurrentIndex(page); });
        states.emplace_back(QStringLiteral("exposure table filled"), [=] {
            pages->setCurrentIndex(1);
            qobject_cast<QCheckBox *>(child("chbReciprocity"))->setChecked(false);
            qobject_cast<QLineEdit *>(child("edFnumber5"))->setText(QStringLiteral("250"));
            qobject_cast<QPushButton *>(child("btCalculate5"))->click();
        });
        for (const char *zones : {"3", "17"})
            states.emplace_back(QStringLiteral("zone plate of %1 zones").arg(zones), [=] {
                pages->setCurrentIndex(4);
                qobject_cast<QLineEdit *>(child("edImageDistance4"))->setText("150");
                qobject_cast<QLineEdit *>(child("edNumZones"))->setText(zones);
                qobject_cast<QPushButton *>(child("btCalculate"))->click();
            });
        return states;
    }

    QTemporaryDir m_settings;
    QStringList m_errors;
};

QTEST_MAIN(TestTextFit)
#include "test_textfit.moc"
