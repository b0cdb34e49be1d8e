// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <deque>
#include <functional>

// Answers the modal windows that appear while a test runs, as a user would. Each step waits
// for a modal window of its kind and acts on it from the event loop (not from the poll, so that
// a window the action opens in turn is answered too). A modal window that no step expects is
// recorded and rejected once it has stayed open for a while, so that a wrong turn fails the
// test instead of hanging it.
class ModalScript
{
public:
    struct Message
    {
        QString title;
        QString text;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
    };

    ModalScript()
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
        m_timer.start();
    }

    // The next modal window is a message box: it is recorded, then answered with button.
    void Answer(QMessageBox::StandardButton button = QMessageBox::Ok)
    {
        Expect<QMessageBox>([this, button](QMessageBox *box) {
            m_messages.push_back(
                {box->windowTitle(), box->text(), box->icon(), box->standardButtons()});
            box->button(button)->click();
        });
    }

    // The next modal window is a file dialog; action plays the user's part.
    void OnFileDialog(std::function<void(QFileDialog *)> action)
    {
        Expect<QFileDialog>(std::move(action));
    }

    // Types name into the dialog's name field. A file picked in the list before no longer
    // counts, as when the user types over it.
    static void TypeName(QFileDialog *dialog, const QString &name)
    {
        for (auto *view : dialog->findChildren<QAbstractItemView *>())
            if (view->selectionModel())
                view->selectionModel()->clearSelection();
        NameField(dialog)->setText(name);
    }

    // Picks file type index (counted from 1) with the arrow keys, as a user would.
    static void ChooseType(QFileDialog *dialog, int index)
    {
        auto *types = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
        while (types->currentIndex() < index - 1)
            QTest::keyClick(types, Qt::Key_Down);
        while (types->currentIndex() > index - 1)
            QTest::keyClick(types, Qt::Key_Up);
    }

    static QLineEdit *NameField(QFileDialog *dialog)
    {
        return dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    }

    // The Save button.
    static void Save(QFileDialog *dialog)
    {
        auto *buttons = dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
        QPushButton *save = buttons->button(QDialogButtonBox::Save);
        if (save->isEnabled())
            save->click();
        else
            dialog->reject();
    }

    // The next modal window is a dialog of type Window; action plays the user's part.
    template <typename Window> void On(std::function<void(Window *)> action)
    {
        Expect<Window>(std::move(action));
    }

    bool Done() const { return m_steps.empty(); }
    const QList<Message> &Messages() const { return m_messages; }
    const QStringList &Unexpected() const { return m_unexpected; }

private:
    template <typename Window> void Expect(std::function<void(Window *)> action)
    {
        m_steps.push_back([this, action](QWidget *widget) {
            QPointer<Window> window = qobject_cast<Window *>(widget);
            if (!window)
                return false;
            QTimer::singleShot(0, window, [this, window, action] {
                if (!window)
                    return;
                action(window);
                if (window && m_last == window && !window->isVisible())
                    m_last = nullptr;
            });
            return true;
        });
    }

    void Poll()
    {
        QWidget *active = QApplication::activeModalWidget();
        if (active == nullptr) {
            m_last = nullptr;
            return;
        }
        if (active == m_last || !active->isVisible())
            return;
        if (!m_steps.empty() && m_steps.front()(active)) {
            m_last = active;
            m_steps.pop_front();
            return;
        }
        // A window that no step expects may only be passing: the dialog under a message box
        // shows again for a moment before it closes. It counts once it has stayed a while.
        if (active != m_candidate) {
            m_candidate = active;
            m_polls = 0;
        }
        if (++m_polls < kPatience)
            return;
        m_last = active;
        const auto *box = qobject_cast<QMessageBox *>(active);
        m_unexpected << QString::fromLatin1(active->metaObject()->className()) +
                            (box ? QStringLiteral(": ") + box->text() : QString());
        if (auto *dialog = qobject_cast<QDialog *>(active))
            QTimer::singleShot(0, dialog, &QDialog::reject);
    }

    static constexpr int kPatience = 20; // polls of 10 ms

    QTimer m_timer;
    QPointer<QWidget> m_candidate;
    int m_polls = 0;
    std::deque<std::function<bool(QWidget *)>> m_steps;
    QPointer<QWidget> m_last;
    QList<Message> m_messages;
    QStringList m_unexpected;
};
