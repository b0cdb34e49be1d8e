// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Helpers shared by the widget tests: a settings store of their own for each test, and a way
// to work a modal window that a handler opens with exec() and waits for, a pick in a list.

#include "tools/settings.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <utility>

// Points the settings store at a new, empty file for the lifetime of the object and puts the
// four preferences in memory back to their defaults, as at the start of a run.
class ScratchSettings
{
public:
    ScratchSettings()
    {
        qputenv("LUMIDRA_SETTINGS", m_dir.filePath(QStringLiteral("settings.reg")).toLocal8Bit());
        tools::DecNum = 3;
        tools::MainUnit = 0;
        tools::AngleUnit = 0;
        tools::ExpTimeFormat = 1;
    }

private:
    QTemporaryDir m_dir;
};

// Works the next modal window of type T as soon as it is open, for handlers that wait for it
// in exec(): action gets the window and must close it. Watches only while the object lives.
template <typename T> class ModalWatch
{
public:
    explicit ModalWatch(std::function<void(T *)> action) : m_action(std::move(action))
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
        m_timer.start();
    }
    ModalWatch(const ModalWatch &) = delete;
    ModalWatch &operator=(const ModalWatch &) = delete;

    // Whether such a window opened while the watch lived.
    bool Opened() const { return m_opened; }

private:
    void Poll()
    {
        T *window = qobject_cast<T *>(QApplication::activeModalWidget());
        if (window == nullptr || !window->isVisible())
            return;
        m_timer.stop();
        m_opened = true;
        m_action(window);
    }

    QTimer m_timer;
    std::function<void(T *)> m_action;
    bool m_opened = false;
};

// Answers the next message box with OK and keeps its text.
class MessageCatcher
{
public:
    MessageCatcher()
        : m_watch([this](QMessageBox *box) {
              m_text = box->text();
              box->accept();
          })
    {}

    bool Shown() const { return m_watch.Opened(); }
    QString Text() const { return m_text; }

private:
    QString m_text;
    ModalWatch<QMessageBox> m_watch;
};

// The user's pick of item index in a drop-down list: the list gets the focus, its drop-down
// part opens, and Return takes the item there.
inline void PickInList(QComboBox *list, int index)
{
    list->setFocus();
    list->showPopup();
    QAbstractItemView *view = list->view();
    view->setCurrentIndex(list->model()->index(index, 0));
    QTest::keyClick(view, Qt::Key_Return);
}
