#pragma once

#include <QString>
#include <QDir>
#include <QTemporaryDir>

namespace testsupport {

// A fresh application folder for one test, removed afterwards.
class TestDir {
public:
    TestDir();
    QString path() const { return m_dir.path(); }
    QString file(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};

} // namespace testsupport
