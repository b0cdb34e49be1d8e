// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/keyfilter.h"
#include "components/uitext.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>

#include <memory>

using Kind = TNumericKeyFilter::Kind;
Q_DECLARE_METATYPE(Kind)

namespace {

// Test texts are written with '#' for the locale's decimal separator and '~' for the other
// one ('.' and ','), so that every case runs under both locales.
QString Local(QString text)
{
    const QChar sep = QChar::fromLatin1(DecimalSeparator());
    const QChar other = QChar::fromLatin1(DecimalSeparator() == '.' ? ',' : '.');
    text.replace(QLatin1Char('#'), sep);
    text.replace(QLatin1Char('~'), other);
    return text;
}

} // namespace

class TestKeyFilter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void separatorFollowsLocale();
    void typing_data();
    void typing();
    void controlKeys_data();
    void controlKeys();
    void nonAsciiSwallowed();
    void composedText_data();
    void composedText();
    void pasting_data();
    void pasting();

private:
    // The field with its text and selection (start, length; length 0: cursor at the end).
    QLineEdit *Field(Kind kind, const QString &text, int selStart, int selLength);

    std::unique_ptr<QWidget> m_window;
};

void TestKeyFilter::initTestCase()
{
    InitDecimalSeparator();
}

void TestKeyFilter::init()
{
    m_window = std::make_unique<QWidget>();
}

void TestKeyFilter::cleanup()
{
    m_window.reset();
}

QLineEdit *TestKeyFilter::Field(Kind kind, const QString &text, int selStart, int selLength)
{
    auto *field = new QLineEdit(m_window.get());
    TNumericKeyFilter::Install(field, kind);
    field->setText(Local(text));
    if (selLength > 0)
        field->setSelection(selStart, selLength);
    m_window->show();
    field->setFocus();
    return field;
}

// The tests run under an English and a German locale; the separator must follow it.
void TestKeyFilter::separatorFollowsLocale()
{
    const QString locale = qEnvironmentVariable("LC_ALL");
    if (locale.startsWith("de_"))
        QCOMPARE(DecimalSeparator(), ',');
    else if (locale.startsWith("en_"))
        QCOMPARE(DecimalSeparator(), '.');
    else
        QVERIFY(DecimalSeparator() == '.' || DecimalSeparator() == ',');
}

void TestKeyFilter::typing_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");

    const Kind dec = Kind::Decimal, whole = Kind::Integer;
    QTest::newRow("decimal: digits") << dec << "" << 0 << 0 << "0123456789"
                                     << "0123456789";
    QTest::newRow("decimal: one separator") << dec << "" << 0 << 0 << "1#5#"
                                            << "1#5";
    QTest::newRow("decimal: second separator") << dec << "1#5" << 0 << 0 << "#2"
                                               << "1#52";
    // Typing judges the whole text, even the part that the key would replace.
    QTest::newRow("decimal: separator over selected separator") << dec << "1#5" << 1 << 1 << "#"
                                                                << "1#5";
    QTest::newRow("decimal: other separator") << dec << "" << 0 << 0 << "1~5"
                                              << "15";
    QTest::newRow("decimal: e after E") << dec << "1E5" << 0 << 0 << "e"
                                        << "1E5e";
    QTest::newRow("decimal: second E") << dec << "1E5" << 0 << 0 << "E"
                                       << "1E5";
    QTest::newRow("decimal: signs and blanks") << dec << "" << 0 << 0 << "-+ 7"
                                               << "7";
    QTest::newRow("decimal: letters") << dec << "" << 0 << 0 << "abcxyz"
                                      << "";
    QTest::newRow("decimal: digit replaces selection") << dec << "123" << 0 << 3 << "9"
                                                       << "9";
    QTest::newRow("whole: digits") << whole << "" << 0 << 0 << "42"
                                   << "42";
    QTest::newRow("whole: separators and E") << whole << "" << 0 << 0 << "2#~e5"
                                             << "25";
    QTest::newRow("whole: signs") << whole << "" << 0 << 0 << "-1+"
                                  << "1";
}

void TestKeyFilter::typing()
{
    QFETCH(Kind, kind);
    QFETCH(QString, start);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(QString, typed);
    QFETCH(QString, expected);

    QLineEdit *field = Field(kind, start, selStart, selLength);
    QTest::keyClicks(field, Local(typed));
    QCOMPARE(field->text(), Local(expected));
}

void TestKeyFilter::controlKeys_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("expected");

    // Each starts from 12#5 with the cursor at the end, then types 7 after the key.
    const int none = Qt::NoModifier, ctrl = Qt::ControlModifier;
    QTest::newRow("backspace") << Kind::Decimal << int(Qt::Key_Backspace) << none << "12#7";
    QTest::newRow("left arrow") << Kind::Decimal << int(Qt::Key_Left) << none << "12#75";
    QTest::newRow("home then delete") << Kind::Integer << int(Qt::Key_Home) << none << "712#5";
    QTest::newRow("select all") << Kind::Decimal << int(Qt::Key_A) << ctrl << "7";
    QTest::newRow("enter") << Kind::Decimal << int(Qt::Key_Return) << none << "12#57";
}

void TestKeyFilter::controlKeys()
{
    QFETCH(Kind, kind);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, expected);

    QLineEdit *field = Field(kind, "", 0, 0);
    QTest::keyClicks(field, Local("12#5"));
    if (kind == Kind::Integer) {
        field->setText(Local("12#5")); // a whole-number field would not take the separator
        field->setCursorPosition(field->text().size());
    }
    QTest::keyClick(field, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QTest::keyClick(field, Qt::Key_7);
    QCOMPARE(field->text(), Local(expected));

    // Delete reaches the field too.
    field->setCursorPosition(0);
    QTest::keyClick(field, Qt::Key_Delete);
    QCOMPARE(field->text(), Local(expected).mid(1));
}

void TestKeyFilter::nonAsciiSwallowed()
{
    for (const Kind kind : {Kind::Decimal, Kind::Integer}) {
        QLineEdit *field = Field(kind, "1", 0, 0);
        // A superscript two, a Euro sign, an Arabic-Indic three, and a non-breaking space.
        for (const QChar ch : {QChar(0x00B2), QChar(0x20AC), QChar(0x0663), QChar(0x00A0)})
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        QCOMPARE(field->text(), QString("1"));
    }
}

void TestKeyFilter::composedText_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("commit");
    QTest::addColumn<QString>("expected");

    // Each character is judged as if those before it had been typed: one separator stays.
    QTest::newRow("decimal") << Kind::Decimal << ""
                             << "1a#2#3\u00e9"
                             << "1#23"; // e acute
    QTest::newRow("decimal after separator") << Kind::Decimal << "0#"
                                             << "5#e"
                                             << "0#5e";
    QTest::newRow("whole") << Kind::Integer << "7"
                           << " 4~5x"
                           << "745";
}

// Text from an input method (compose keys, dead keys) arrives without key presses.
void TestKeyFilter::composedText()
{
    QFETCH(Kind, kind);
    QFETCH(QString, start);
    QFETCH(QString, commit);
    QFETCH(QString, expected);

    QLineEdit *field = Field(kind, start, 0, 0);
    QInputMethodEvent event;
    event.setCommitString(Local(commit));
    QCoreApplication::sendEvent(field, &event);
    QCOMPARE(field->text(), Local(expected));
}

void TestKeyFilter::pasting_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("clipboardAfter");

    const Kind dec = Kind::Decimal, whole = Kind::Integer;
    QTest::newRow("decimal: blanks stripped") << dec << "" << 0 << 0 << "  2#5 "
                                              << "2#5"
                                              << "2#5";
    QTest::newRow("decimal: tabs and line end stripped") << dec << "" << 0 << 0 << "\t12\r\n"
                                                         << "12"
                                                         << "12";
    QTest::newRow("decimal: second separator refused") << dec << "1#0" << 0 << 0 << "2#5"
                                                       << "1#0"
                                                       << "2#5";
    // Pasting judges the text outside the selection: the selected separator goes away.
    QTest::newRow("decimal: over the whole text") << dec << "1#0" << 0 << 3 << "2#5"
                                                  << "2#5"
                                                  << "2#5";
    QTest::newRow("decimal: over the separator") << dec << "1#0" << 1 << 1 << "#5"
                                                 << "1#50"
                                                 << "#5";
    QTest::newRow("decimal: exponent refused") << dec << "" << 0 << 0 << "1e5"
                                               << ""
                                               << "1e5";
    QTest::newRow("decimal: other separator refused") << dec << "" << 0 << 0 << "2~5"
                                                      << ""
                                                      << "2~5";
    QTest::newRow("decimal: minus refused") << dec << "" << 0 << 0 << "-2"
                                            << ""
                                            << "-2";
    QTest::newRow("decimal: empty clipboard") << dec << "7" << 0 << 0 << ""
                                              << "7"
                                              << "";
    QTest::newRow("whole: blanks stripped") << whole << "" << 0 << 0 << " 15 "
                                            << "15"
                                            << "15";
    QTest::newRow("whole: letter refused") << whole << "" << 0 << 0 << "12a"
                                           << ""
                                           << "12a";
    QTest::newRow("whole: separator refused") << whole << "3" << 0 << 0 << "1#5"
                                              << "3"
                                              << "1#5";
}

void TestKeyFilter::pasting()
{
    QFETCH(Kind, kind);
    QFETCH(QString, start);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(QString, clipboard);
    QFETCH(QString, expected);
    QFETCH(QString, clipboardAfter);

    QLineEdit *field = Field(kind, start, selStart, selLength);
    QApplication::clipboard()->setText(Local(clipboard));
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(field->text(), Local(expected));
    QCOMPARE(QApplication::clipboard()->text(), Local(clipboardAfter));
}

QTEST_MAIN(TestKeyFilter)
#include "test_keyfilter.moc"
