// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <deque>
#include <functional>

// Answers the modal windows that a test's click opens, as a user would. Each step waits until
// a modal window of its kind is the active one (and is not the window the previous step
// handled), then acts on it. The action runs from the event loop rather than from the poll, so
// that a window it opens in turn is answered too. A message box or file dialog that no step
// expects is recorded and rejected, so that a wrong turn fails the test instead of hanging it.
class ModalDriver
{
public:
    ModalDriver()
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
        m_timer.start();
    }

    template <typename Window> void Expect(std::function<void(Window *)> action)
    {
        m_steps.push_back([action](QWidget *w) {
            QPointer<Window> window = qobject_cast<Window *>(w);
            if (window)
                QTimer::singleShot(0, window, [window, action] {
                    if (window)
                        action(window);
                });
            return window != nullptr;
        });
    }

    // A message box: its text is recorded, then the button is clicked.
    void Answer(QMessageBox::StandardButton button = QMessageBox::Ok)
    {
        Expect<QMessageBox>([this, button](QMessageBox *box) {
            m_messages << box->text();
            m_titles << box->windowTitle();
            m_icons << box->icon();
            box->button(button)->click();
        });
    }

    // The save dialog: the name is typed (a bare name in the dialog's folder, or a full path)
    // and confirmed.
    void Choose(const QString &name, QString *folderShown = nullptr)
    {
        Expect<QFileDialog>([this, name, folderShown](QFileDialog *dialog) {
            ++m_fileDialogs;
            if (folderShown)
                *folderShown = dialog->directory().absolutePath();
            Type(dialog, name);
            Confirm(dialog);
        });
    }

    void CancelFileDialog(QString *folderShown = nullptr)
    {
        Expect<QFileDialog>([this, folderShown](QFileDialog *dialog) {
            ++m_fileDialogs;
            if (folderShown)
                *folderShown = dialog->directory().absolutePath();
            dialog->reject();
        });
    }

    // Types name into the dialog's name field. A file picked in the list earlier no longer
    // counts, as when the user types over it.
    static void Type(QFileDialog *dialog, const QString &name)
    {
        for (auto *view : dialog->findChildren<QAbstractItemView *>())
            if (view->selectionModel())
                view->selectionModel()->clearSelection();
        dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(name);
    }

    // The user's confirmation of the file dialog (Save or Enter), which asks the dialog's
    // owner before it closes.
    static void Confirm(QFileDialog *dialog)
    {
        QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
    }

    bool AllDone() const { return m_steps.empty(); }
    const QStringList &Messages() const { return m_messages; }
    const QStringList &Titles() const { return m_titles; }
    const QList<QMessageBox::Icon> &Icons() const { return m_icons; }
    const QStringList &Unexpected() const { return m_unexpected; }
    int FileDialogs() const { return m_fileDialogs; }

private:
    void Poll()
    {
        // One quiet round after each step, so that the window just answered has finished.
        if (m_skip) {
            m_skip = false;
            return;
        }
        QWidget *active = QApplication::activeModalWidget();
        if (!active || active == m_last || !active->isVisible())
            return;
        if (!m_steps.empty() && m_steps.front()(active)) {
            m_steps.pop_front();
        } else if (auto *box = qobject_cast<QMessageBox *>(active)) {
            m_unexpected << QStringLiteral("message: ") + box->text();
            QTimer::singleShot(0, box, &QDialog::reject);
        } else if (auto *files = qobject_cast<QFileDialog *>(active)) {
            m_unexpected << QStringLiteral("file dialog");
            QTimer::singleShot(0, files, &QDialog::reject);
        } else {
            return;
        }
        m_last = active;
        m_skip = true;
    }

    QTimer m_timer;
    std::deque<std::function<bool(QWidget *)>> m_steps;
    QPointer<QWidget> m_last;
    bool m_skip = false;
    QStringList m_messages;
    QStringList m_titles;
    QList<QMessageBox::Icon> m_icons;
    QStringList m_unexpected;
    int m_fileDialogs = 0;
};
