// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/backgroundfit.h"

#include <QThread>

TBackgroundFit::TBackgroundFit(QObject *parent) : QObject(parent) {}

TBackgroundFit::~TBackgroundFit()
{
    m_pending.reset();
    if (m_thread != nullptr) {
        m_stop = true;
        m_thread->wait();
        delete m_thread;
    }
}

void TBackgroundFit::Request(const QString &key, const tools::FilmModelData &model)
{
    m_pending = Job{key, model};
    if (m_thread != nullptr)
        m_stop = true; // Done starts the new one
    else
        Start();
}

void TBackgroundFit::Start()
{
    m_running = std::move(*m_pending);
    m_pending.reset();
    m_stop = false;
    // The worker reads its own copy of the model and writes only m_result, which nothing
    // reads until the thread has finished.
    m_thread = QThread::create(
        [this, model = m_running.model] { m_result = tools::FitFilm(model, {}, &m_stop); });
    connect(m_thread, &QThread::finished, this, &TBackgroundFit::Done);
    m_thread->start();
}

void TBackgroundFit::Done()
{
    m_thread->deleteLater();
    m_thread = nullptr;
    const bool stopped = m_stop;
    if (!stopped)
        emit Finished(m_running.key, m_result);
    if (m_pending)
        Start();
}
