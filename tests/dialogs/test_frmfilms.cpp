// SPDX-License-Identifier: GPL-3.0-or-later
// The films dialogs on their own, against a stand-in for the main window: a film typed as a
// user types it is fitted, its error shown and its curve plotted; what cannot be fitted or
// named keeps OK disabled with the reason; the list adds, changes and removes films and says
// when they cannot be saved.
#include "components/helpcontext.h"
#include "components/reciprocityplot.h"
#include "components/uitext.h"
#include "dialogs/filmshost.h"
#include "dialogs/frmfilmedit.h"
#include "dialogs/frmfilms.h"
#include "tests/support/qtesthelpers.h"
#include "tools/cp1252.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QtTest>

#include <cmath>
#include <memory>
#include <optional>

using Fields = QList<QPair<QString, QString>>;
Q_DECLARE_METATYPE(Fields)

namespace {

// The window's part: keeps the films in memory, or refuses them as a full disk would.
class FakeFilmsHost : public IFilmsHost
{
public:
    std::vector<std::string> ShippedFilmNames() const override { return {"Ilford HP5 Plus"}; }
    const std::vector<tools::OwnFilm> &OwnFilms() const override { return films; }
    bool StoreOwnFilms(const std::vector<tools::OwnFilm> &changed) override
    {
        if (refuse)
            return false;
        films = changed;
        return true;
    }
    std::string OwnFilmsFolder() const override { return "/home/user/.config/Lumidra"; }

    std::vector<tools::OwnFilm> films;
    bool refuse = false;
};

QString Local(QString text)
{
    return text.replace(u'.', QChar(DecimalSeparator()));
}

template <typename T> T *Child(const QWidget *w, const QString &name)
{
    return w->findChild<T *>(name);
}

// A fit takes a tenth of a second, more under the sanitizers.
bool WaitForFit(const TFrmFilmEdit *dialog)
{
    for (int i = 0; i < 3000 && dialog->FitPending(); ++i)
        QTest::qWait(10);
    return !dialog->FitPending();
}

// Types the film into the dialog as a user would: the name, the kind, the fields. (keyClicks
// takes ASCII only: other characters are sent one by one.)
void Type(TFrmFilmEdit *dialog, const QString &name, bool powerLaw, const Fields &fields)
{
    auto *field = Child<QLineEdit>(dialog, "edName");
    for (const QChar ch : name)
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    Child<QRadioButton>(dialog, powerLaw ? "rbPowerLaw" : "rbPairs")->click();
    for (const auto &[field, text] : fields)
        QTest::keyClicks(Child<QLineEdit>(dialog, field), Local(text));
}

} // namespace

class TestFrmFilms : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { InitDecimalSeparator(); }

    void typedPowerLawIsFittedAndPlotted()
    {
        std::optional<tools::OwnFilm> kept;
        TFrmFilmEdit dialog(
            std::nullopt, {"Ilford HP5 Plus"},
            [&](const tools::OwnFilm &film) {
                kept = film;
                return true;
            },
            nullptr);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), " Add Film");
        QCOMPARE(HelpContext(&dialog), 2700);
        auto *ok = Child<QPushButton>(&dialog, "btOk");
        QVERIFY(!ok->isEnabled());

        Type(&dialog, "Own HP5", true, {{"edPower", "1.31"}});
        QVERIFY(WaitForFit(&dialog));
        QVERIFY(ok->isEnabled());
        QCOMPARE(Child<QLabel>(&dialog, "lbReason")->text(), QString());
        // Ilford's law over its three decades, within 5 %: the HP5 Plus of the database
        // stays within 3.3 %.
        const QRegularExpression figure(QStringLiteral("^Largest error of the formula: (\\d)%1"
                                                       "(\\d\\d) %$")
                                            .arg(QRegularExpression::escape(Local("."))));
        const auto match = figure.match(Child<QLabel>(&dialog, "lbError")->text());
        QVERIFY2(match.hasMatch(), qPrintable(Child<QLabel>(&dialog, "lbError")->text()));
        QVERIFY(match.captured(1).toInt() * 100 + match.captured(2).toInt() <= 500);

        // The curve from 1 s to 1000 s (1000^1.31 = 8511 s), carried on for a decade.
        const auto *plot = Child<TReciprocityPlot>(&dialog, "pbPlot");
        QVERIFY(plot->Measured().empty());
        QCOMPARE(plot->Fitted().front().Metered, 1.0);
        QCOMPARE(plot->Fitted().back().Metered, 1000.0);
        QVERIFY(std::abs(plot->Fitted().back().Corrected / 8511 - 1) < 0.05);
        QCOMPARE(plot->Continued().front().Metered, 1000.0);
        QCOMPARE(plot->Continued().back().Metered, 10000.0);
        QVERIFY(std::abs(plot->Continued().back().Corrected / std::pow(10000, 1.31) - 1) < 0.15);
        QCOMPARE(plot->FirstDecadeX(), 0);
        QCOMPARE(plot->LastDecadeX(), 4);

        ok->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(kept);
        QCOMPARE(kept->Record.Name, std::string("Own HP5"));
        QCOMPARE(kept->Record.MinTime, 1.0);
        QCOMPARE(kept->Record.MaxTime, 1000.0);
        QVERIFY(tools::ParseFilmFormula(kept->Record.Formula));
        // Kept as typed, with "." whatever the locale.
        QVERIFY(kept->Input && kept->Input->PowerLaw);
        QCOMPARE(kept->Input->Power, std::string("1.31"));
    }

    void faultsKeepOkDisabled_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("powerLaw");
        QTest::addColumn<Fields>("fields");
        QTest::addColumn<QString>("reason"); // the start of it
        QTest::newRow("no name") << "" << true << Fields{{"edPower", "1.3"}}
                                 << "Type a name for the film.";
        QTest::newRow("a shipped film's name")
            << "Ilford HP5 Plus" << true << Fields{{"edPower", "1.3"}}
            << "A film named 'Ilford HP5 Plus' exists already.";
        QTest::newRow("P above 3") << "F" << true << Fields{{"edPower", "3.5"}}
                                   << "The exponent P must be a number from 1 to 3.";
        QTest::newRow("pairs not rising")
            << "F" << false
            << Fields{{"edMetered1", "10"},
                      {"edNeeded1", "50"},
                      {"edMetered2", "1"},
                      {"edNeeded2", "2"}}
            << "Pair 2: the metered times must rise from pair to pair.";
        QTest::newRow("stops without their +")
            << "F" << false << Fields{{"edMetered1", "10"}, {"edNeeded1", "1/3"}}
            << "Pair 1: the time needed is shorter than the metered time.";
        QTest::newRow("range beyond the law")
            << "F" << true << Fields{{"edPower", "1.3"}, {"edRangeMax", "2000"}}
            << "The range may only narrow the data's own, from 1 s to 1000 s.";
        // A step from 1 s to 200 s needed within a stop of metered time.
        QTest::newRow("cannot be fitted")
            << "F" << false
            << Fields{{"edMetered1", "1"},  {"edNeeded1", "1"},  {"edMetered2", "2"},
                      {"edNeeded2", "200"}, {"edMetered3", "3"}, {"edNeeded3", "201"}}
            << "No formula comes within 5 % of this curve";
    }

    void faultsKeepOkDisabled()
    {
        QFETCH(QString, name);
        QFETCH(bool, powerLaw);
        QFETCH(Fields, fields);
        QFETCH(QString, reason);
        bool committed = false;
        TFrmFilmEdit dialog(
            std::nullopt, {"Ilford HP5 Plus"},
            [&](const tools::OwnFilm &) { return committed = true; }, nullptr);
        dialog.show();
        Type(&dialog, name, powerLaw, fields);
        QVERIFY(WaitForFit(&dialog));
        const QString shown = Child<QLabel>(&dialog, "lbReason")->text();
        QVERIFY2(shown.startsWith(reason), qPrintable(shown));
        QVERIFY(!Child<QPushButton>(&dialog, "btOk")->isEnabled());
        // Enter presses no disabled button.
        QTest::keyClick(&dialog, Qt::Key_Return);
        QVERIFY(!committed);
    }

    // Editing shows the film as it was typed: the pairs with their stops, the narrowed range.
    void editShowsWhatWasTyped()
    {
        tools::FilmInput trix;
        trix.Name = "Tri-X (own test)";
        trix.PowerLaw = false;
        trix.Pairs = {{"1", "2"}, {"10", "+2.25"}};
        trix.RangeMax = "5.5";
        TFrmFilmEdit dialog(
            trix, {}, [](const tools::OwnFilm &) { return true; }, nullptr);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), " Edit Film");
        QCOMPARE(Child<QLineEdit>(&dialog, "edName")->text(), "Tri-X (own test)");
        QVERIFY(Child<QRadioButton>(&dialog, "rbPairs")->isChecked());
        QCOMPARE(Child<QLineEdit>(&dialog, "edNeeded2")->text(), Local("+2.25"));
        QCOMPARE(Child<QLineEdit>(&dialog, "edMetered3")->text(), "");
        QCOMPARE(Child<QLineEdit>(&dialog, "edRangeMin")->placeholderText(), "1");
        QCOMPARE(Child<QLineEdit>(&dialog, "edRangeMax")->text(), Local("5.5"));
        QCOMPARE(Child<TReciprocityPlot>(&dialog, "pbPlot")->Measured().size(), std::size_t(2));
        QVERIFY(WaitForFit(&dialog));
        QVERIFY(Child<QPushButton>(&dialog, "btOk")->isEnabled());
    }

    void listAddsEditsAndRemoves()
    {
        FakeFilmsHost host;
        TFrmFilms films(host, nullptr);
        films.show();
        QCOMPARE(films.windowTitle(), " Films");
        QCOMPARE(HelpContext(&films), 2700);
        auto *list = Child<QListWidget>(&films, "lbFilms");
        QVERIFY(!Child<QPushButton>(&films, "btEdit")->isEnabled());

        {
            ModalWatch<TFrmFilmEdit> add([](TFrmFilmEdit *dialog) {
                Type(dialog, QString::fromUtf8("Fomapan 100 \u20ac"), false,
                     {{"edMetered1", "1"},
                      {"edNeeded1", "+1/3"},
                      {"edMetered2", "10"},
                      {"edNeeded2", "+1"}});
                if (WaitForFit(dialog))
                    Child<QPushButton>(dialog, "btOk")->click();
                else
                    dialog->reject();
            });
            Child<QPushButton>(&films, "btAdd")->click();
        }
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->item(0)->text(), QString::fromUtf8("Fomapan 100 \u20ac"));
        QCOMPARE(host.films.at(0).Record.Name, std::string("Fomapan 100 \x80"));
        QVERIFY(Child<QPushButton>(&films, "btEdit")->isEnabled());

        // The edit dialog opens on the film; a name already taken by the film itself is fine.
        {
            ModalWatch<TFrmFilmEdit> edit([](TFrmFilmEdit *dialog) {
                Child<QLineEdit>(dialog, "edRangeMax")->setText(Local("5"));
                if (WaitForFit(dialog))
                    Child<QPushButton>(dialog, "btOk")->click();
                else
                    dialog->reject();
            });
            Child<QPushButton>(&films, "btEdit")->click();
        }
        QCOMPARE(host.films.size(), std::size_t(1));
        QCOMPARE(host.films[0].Record.MaxTime, 5.0);
        QCOMPARE(host.films[0].Input->RangeMax, std::string("5"));

        {
            ModalWatch<QMessageBox> answer([](QMessageBox *box) {
                QCOMPARE(box->text(), QString::fromUtf8("Remove the film 'Fomapan 100 \u20ac'?"));
                box->button(QMessageBox::Yes)->click();
            });
            Child<QPushButton>(&films, "btRemove")->click();
        }
        QCOMPARE(list->count(), 0);
        QVERIFY(host.films.empty());
        QVERIFY(!Child<QPushButton>(&films, "btRemove")->isEnabled());
    }

    // A film that cannot be saved is reported, and the edit dialog stays open with it.
    void filmThatCannotBeSavedStaysInTheDialog()
    {
        FakeFilmsHost host;
        host.refuse = true;
        TFrmFilms films(host, nullptr);
        films.show();
        QString message;
        bool stayedOpen = false;
        {
            ModalWatch<TFrmFilmEdit> add([&](TFrmFilmEdit *dialog) {
                Type(dialog, "Own", true, {{"edPower", "1.5"}});
                if (WaitForFit(dialog)) {
                    ModalWatch<QMessageBox> refused([&](QMessageBox *box) {
                        message = box->text();
                        box->accept();
                    });
                    Child<QPushButton>(dialog, "btOk")->click();
                }
                stayedOpen = dialog->isVisible();
                dialog->reject();
            });
            Child<QPushButton>(&films, "btAdd")->click();
        }
        QCOMPARE(message, QString("Your films cannot be saved in /home/user/.config/Lumidra. "
                                  "Make sure the disk is not full or write-protected."));
        QVERIFY(stayedOpen);
        QCOMPARE(Child<QListWidget>(&films, "lbFilms")->count(), 0);
    }
};

QTEST_MAIN(TestFrmFilms)
#include "test_frmfilms.moc"
