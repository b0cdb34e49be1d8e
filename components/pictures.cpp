// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/pictures.h"

#include "components/pngimage.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QIconEngine>
#include <QPainter>

#include <map>

namespace {

// The window icon from its files, one for each size, each read only when a size of it is asked
// for: a window manager draws one or two sizes, an offscreen or Wayland window none, and
// decoding every file at start-up would slow the start for nothing.
class FileIconEngine : public QIconEngine
{
public:
    void AddFile(int size, const QString &file) { m_files[size] = file; }

    QPixmap pixmap(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        // The smallest drawing at least as large as asked for, else the largest.
        auto it = m_files.lower_bound(std::max(size.width(), size.height()));
        if (it == m_files.end())
            it = std::prev(it);
        QPixmap &loaded = m_loaded[it->first];
        if (loaded.isNull())
            loaded = QPixmap::fromImage(ReadPng(it->second));
        if (loaded.size() == size)
            return loaded;
        return loaded.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        for (const auto &[side, file] : m_files)
            if (side >= std::max(size.width(), size.height()))
                return size;
        return m_files.empty()
                   ? QSize()
                   : size.boundedTo(QSize(m_files.rbegin()->first, m_files.rbegin()->first));
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (const auto &[side, file] : m_files)
            sizes << QSize(side, side);
        return sizes;
    }

    QString key() const override { return QStringLiteral("LumidraFileIconEngine"); }
    QIconEngine *clone() const override { return new FileIconEngine(*this); }
    bool isNull() override { return m_files.empty(); }

private:
    std::map<int, QString> m_files;
    std::map<int, QPixmap> m_loaded;
};

} // namespace

QPixmap Picture(const QString &name, qreal devicePixelRatio)
{
    const QString base = QStringLiteral(":/pictures/") + name;
    if (devicePixelRatio > 1) {
        QPixmap sharp = QPixmap::fromImage(ReadPng(base + QStringLiteral("@2x.png")));
        if (!sharp.isNull()) {
            sharp.setDevicePixelRatio(2);
            return sharp;
        }
    }
    return QPixmap::fromImage(ReadPng(base + QStringLiteral(".png")));
}

QIcon ApplicationIcon()
{
    // Each file is named after its size (org.example.Lumidra-32.png). A window manager draws a
    // window's icon at most kMaxWindowIconSize pixels large; the larger drawings serve the
    // desktop menu, from the installed icon theme, and decoding them would only slow the start.
    constexpr int kMaxWindowIconSize = 128;
    auto *engine = new FileIconEngine;
    // Filtered here rather than by a name filter, which would compile a pattern at every start.
    QDirIterator files(QStringLiteral(":/icons"), QDir::Files);
    while (files.hasNext()) {
        const QString file = files.next();
        if (!file.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
            continue;
        const QString base = QFileInfo(file).completeBaseName();
        bool ok = false;
        const int size = base.mid(base.lastIndexOf(QLatin1Char('-')) + 1).toInt(&ok);
        if (ok && size <= kMaxWindowIconSize)
            engine->AddFile(size, file);
    }
    return QIcon(engine);
}
