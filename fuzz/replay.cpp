// Every corpus file through its fuzz entry, without fuzzing: an input that
// once crashed or broke a property keeps being tried by every build.
#include "fuzz/entries.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

class Corpus : public testing::TestWithParam<fuzz::Target> {};

TEST_P(Corpus, EveryInputPasses)
{
    const QDir dir(QStringLiteral(QUILLON_FUZZ_CORPUS "/") + QString::fromLatin1(GetParam().name));
    const QStringList files = dir.entryList(QDir::Files, QDir::Name);
    ASSERT_FALSE(files.isEmpty()) << "no corpus in " << dir.path().toStdString();
    for (const QString &name : files) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        const QByteArray bytes = file.readAll();
        SCOPED_TRACE(name.toStdString());
        GetParam().run(reinterpret_cast<const uint8_t *>(bytes.constData()), static_cast<size_t>(bytes.size()));
    }
}

INSTANTIATE_TEST_SUITE_P(Fuzz, Corpus, testing::ValuesIn(fuzz::Targets),
                         [](const testing::TestParamInfo<fuzz::Target> &p) { return std::string(p.param.name); });

} // namespace
