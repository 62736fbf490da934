#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <csignal>

#include "tests/jet/CorpusFiles.h"

// The program itself, started as a user starts it: the end of the session ends it with status 0.
namespace Windows {
namespace {

#ifndef _WIN32
// Starts the program on the offscreen platform with settings of its own, in a folder of the test.
class ProgramEnd : public testing::Test {
 protected:
  void Start() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("HOME"), QString::fromStdString(home.string()));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString((home / "config").string()));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(QUORVANE_PROGRAM), {});
    ASSERT_TRUE(program.waitForStarted(10000));
    // The selection window is up once the program has started its event loop; give it the time.
    program.waitForFinished(1500);
    ASSERT_EQ(program.state(), QProcess::Running) << program.readAllStandardError().toStdString();
  }

  const std::filesystem::path home = Jet::Testing::ScratchDir();
  QProcess program;
};

TEST_F(ProgramEnd, EachSignalThatEndsTheSessionEndsTheProgramWithStatusZero) {
  for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
    SCOPED_TRACE(signal);
    Start();
    ASSERT_EQ(::kill(static_cast<pid_t>(program.processId()), signal), 0);
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
  }
}
#endif

}  // namespace
}  // namespace Windows
