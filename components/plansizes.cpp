// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/plansizes.h"

#include "tools/atomicfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QStyle>
#include <QWidget>

#include <filesystem>

namespace {

// The first line of the file; a file of another layout is not read.
constexpr char kHeader[] = "lumidra plan sizes 1";
// Far more than five pages' sizes; a larger file is no file of ours.
constexpr qint64 kMaxFileSize = 64 * 1024;

// 64-bit FNV-1a: the same key for the same bytes on every run and every machine.
class Hasher
{
public:
    void Add(const void *data, std::size_t size)
    {
        const auto *bytes = static_cast<const unsigned char *>(data);
        for (std::size_t i = 0; i < size; ++i) {
            m_hash ^= bytes[i];
            m_hash *= 0x100000001b3ULL;
        }
    }
    void Add(std::int64_t value) { Add(&value, sizeof value); }
    void Add(double value) { Add(&value, sizeof value); }
    void Add(const QString &text)
    {
        Add(static_cast<std::int64_t>(text.size()));
        Add(text.constData(), static_cast<std::size_t>(text.size()) * sizeof(QChar));
    }
    void Add(const char *text) { Add(QString::fromUtf8(text)); }
    std::uint64_t Value() const { return m_hash; }

private:
    std::uint64_t m_hash = 0xcbf29ce484222325ULL;
};

// The font as the running system resolves it; measuring texts here would cost what is saved.
void AddFont(Hasher &hash, const QFont &font)
{
    const QFontInfo info(font);
    const QFontMetricsF metrics(font);
    hash.Add(font.key());
    hash.Add(info.family());
    hash.Add(info.styleName());
    for (const double value : {metrics.height(), metrics.ascent(), metrics.descent(),
                               metrics.leading(), metrics.averageCharWidth()})
        hash.Add(value);
}

} // namespace

TPlanSizes::TPlanSizes(QString file) : m_file(std::move(file))
{
    if (m_file.isEmpty())
        return;
    QFile in(m_file);
    if (in.open(QIODevice::ReadOnly) && in.size() <= kMaxFileSize)
        m_kept = Parse(in.readAll());
}

std::uint64_t TPlanSizes::Key(const FormPlan &plan, QSize formSize, const QWidget *context)
{
    Hasher hash;
    for (const FormControl &control : plan.Controls()) {
        hash.Add(control.name);
        for (const int value : {static_cast<int>(control.kind), control.parent, control.x,
                                control.y, control.width, control.height})
            hash.Add(std::int64_t{value});
        for (const bool flag :
             {control.wordWrap, control.buddy, control.autoDefault, control.isDefault})
            hash.Add(std::int64_t{flag});
        const QString text = plan.Text(control);
        hash.Add(text);
        if (const GridFit *grid = plan.Grid(control)) {
            for (const int narrowest : grid->narrowest)
                hash.Add(std::int64_t{narrowest});
            for (const QStringList &column : grid->headers)
                for (const QString &header : column)
                    hash.Add(header);
            hash.Add(std::int64_t{grid->rowHeight});
            hash.Add(std::int64_t{grid->rows});
        }
    }
    hash.Add(std::int64_t{formSize.width()});
    hash.Add(std::int64_t{formSize.height()});

    AddFont(hash, context->font());
    hash.Add(context->style()->name());
    hash.Add(std::int64_t{context->logicalDpiX()});
    hash.Add(std::int64_t{context->logicalDpiY()});
    hash.Add(context->devicePixelRatioF());
    hash.Add(qVersion());
    // Read as the file system keeps it: a local time would read the time zone files.
    std::error_code error;
    const std::filesystem::path program(QCoreApplication::applicationFilePath().toStdU16String());
    hash.Add(
        std::int64_t{std::filesystem::last_write_time(program, error).time_since_epoch().count()});
    hash.Add(static_cast<std::int64_t>(std::filesystem::file_size(program, error)));
    return hash.Value();
}

QSize TPlanSizes::Size(const FormPlan &plan, QSize formSize, const QWidget *context,
                       const std::function<QSize()> &fit)
{
    const std::uint64_t key = Key(plan, formSize, context);
    if (const auto it = m_used.find(key); it != m_used.end())
        return it->second;
    QSize size;
    if (const auto it = m_kept.find(key); it != m_kept.end()) {
        size = it->second;
    } else {
        size = fit();
        m_changed = true;
    }
    m_used.emplace(key, size);
    return size;
}

void TPlanSizes::Save()
{
    if (m_file.isEmpty() || !m_changed)
        return;
    m_changed = false;
    // A cache: a file that cannot be written costs the next start its time, nothing more.
    const QString folder = QFileInfo(m_file).absolutePath();
    if (!QFileInfo::exists(folder) && !QDir().mkpath(folder))
        return;
    const QByteArray text = Text(m_used);
    tools::WriteFileAtomically(QFile::encodeName(m_file).toStdString(),
                               std::string_view(text.constData(), text.size()));
}

QByteArray TPlanSizes::Text(const std::map<std::uint64_t, QSize> &sizes)
{
    QByteArray text = QByteArray(kHeader) + '\n';
    for (const auto &[key, size] : sizes)
        text += QByteArray::number(static_cast<qulonglong>(key), 16) + ' ' +
                QByteArray::number(size.width()) + ' ' + QByteArray::number(size.height()) + '\n';
    return text;
}

std::map<std::uint64_t, QSize> TPlanSizes::Parse(const QByteArray &text)
{
    std::map<std::uint64_t, QSize> sizes;
    const QList<QByteArray> lines = text.split('\n');
    if (lines.isEmpty() || lines.front() != kHeader)
        return sizes;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QList<QByteArray> fields = lines[i].split(' ');
        if (fields.size() != 3)
            continue;
        bool keyOk = false, widthOk = false, heightOk = false;
        const qulonglong key = fields[0].toULongLong(&keyOk, 16);
        const int width = fields[1].toInt(&widthOk);
        const int height = fields[2].toInt(&heightOk);
        // A window of a million pixels a side is no window.
        if (keyOk && widthOk && heightOk && width > 0 && height > 0 && width < 1000000 &&
            height < 1000000)
            sizes.emplace(key, QSize(width, height));
    }
    return sizes;
}
