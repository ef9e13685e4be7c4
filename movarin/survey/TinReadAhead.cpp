#include "movarin/survey/TinReadAhead.h"

#include "orlin/core/Tin.h"
#include "orlin/io/FileBytes.h"
#include "orlin/io/TinTinImporter.h"

#include <common/io/ByteOrder.h>

#include <Poco/BinaryReader.h>
#include <Poco/MemoryStream.h>

#include <QDir>
#include <QFile>

#include <exception>

#include <sys/stat.h>

namespace varnel {

namespace {

QString cleanPath(const QString& path)
{
    return QDir::cleanPath(QDir::isAbsolutePath(path) ? path : QDir::current().absoluteFilePath(path));
}

} // namespace

TinReadAhead::TinReadAhead(const QStringList& members) : m_members(members)
{
}

TinReadAhead::~TinReadAhead() = default;

QStringList TinReadAhead::members() const
{
    return m_members;
}

void TinReadAhead::read(const QString& path)
{
    const QString clean = cleanPath(path);
    for (auto it = m_read.begin(); it != m_read.end(); ++it) {
        if (it->path == clean) {
            m_read.erase(it);
            break;
        }
    }
    try {
        struct stat status {};
        const tin::io::FileBytes bytes(QFile::encodeName(clean).constData(), &status);
        Poco::MemoryInputStream stream(bytes.data(), bytes.size());
        Poco::BinaryReader reader(stream, common::io::FILE_BYTE_ORDER);
        auto tin = std::make_unique<tin::core::Tin>(tin::io::TinTinImporter().importTin(&reader));
        m_read.push_back({clean, guimisc::FileState(status), std::move(tin)});
    } catch (const std::exception&) {
        // The item reads the file itself and says what is wrong with it.
    }
}

void TinReadAhead::discard()
{
    m_read.clear();
}

std::unique_ptr<tin::core::Tin> TinReadAhead::take(const std::string& path)
{
    const QString clean = cleanPath(QString::fromLocal8Bit(path.c_str()));
    for (auto it = m_read.begin(); it != m_read.end(); ++it) {
        if (it->path != clean) {
            continue;
        }
        std::unique_ptr<tin::core::Tin> tin;
        if (guimisc::FileState::of(clean) == it->state) {
            tin = std::move(it->tin);
        }
        m_read.erase(it);
        return tin;
    }
    return nullptr;
}

} // namespace varnel
