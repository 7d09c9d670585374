#include "support/testdir.h"

namespace testsupport {

TestDir::TestDir() : m_dir(QDir::tempPath() + QStringLiteral("/quillon-test-XXXXXX")) {}

} // namespace testsupport
