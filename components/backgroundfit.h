// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/filmfit.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <optional>

class QThread;

// Fits a film's formula (tools::FitFilm, a tenth of a second or more) on a worker thread, so
// that the window it serves goes on taking keys meanwhile. One fit runs at a time: a request
// while one runs stops that one (its result would be stale) and runs next. The result is
// announced on the thread of this object, with the key it was asked for.
class TBackgroundFit : public QObject
{
    Q_OBJECT

public:
    explicit TBackgroundFit(QObject *parent = nullptr);
    // Stops a running fit and waits for its thread.
    ~TBackgroundFit() override;

    void Request(const QString &key, const tools::FilmModelData &model);
    bool Busy() const { return m_thread != nullptr; }

signals:
    void Finished(const QString &key, const tools::FilmFit &fit);

private:
    void Start();
    void Done();

    struct Job
    {
        QString key;
        tools::FilmModelData model;
    };
    QThread *m_thread = nullptr;
    std::atomic<bool> m_stop{false};
    Job m_running;
    std::optional<Job> m_pending;
    tools::FilmFit m_result; // written by the worker, read after it has finished
};
