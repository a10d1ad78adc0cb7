// ShowItemProperties and OpenFolder against a file manager of the test's own on
// a private session bus (dbus-daemon, when installed): the method called, its
// arguments and the answer passed back. The bus is started by main before Qt
// first looks for one; without dbus-daemon the tests skip themselves.
#include <QDBusConnection>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <QUrl>
#include <cstdlib>
#include <mutex>

#include <gtest/gtest.h>

#include "DataItems.h"
#include "ShellProperties.h"
#include "TestSupport.h"

using testing_support::TTempDir;

namespace {

QString gBusAddress;

// Answers the file manager's interface and remembers what it was asked.
class TFakeFileManager : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

 public:
  QStringList Calls() {
    std::lock_guard<std::mutex> lock(mutex_);
    return calls_;
  }

 public Q_SLOTS:
  void ShowItemProperties(const QStringList& uris, const QString& startupId) {
    Record("ShowItemProperties", uris, startupId);
  }
  void ShowFolders(const QStringList& uris, const QString& startupId) {
    Record("ShowFolders", uris, startupId);
  }

 private:
  void Record(const QString& method, const QStringList& uris, const QString& startupId) {
    std::lock_guard<std::mutex> lock(mutex_);
    calls_ << method + " " + uris.join('|') + " [" + startupId + "]";
  }
  std::mutex mutex_;
  QStringList calls_;
};

// The fake file manager on its own connection, answering from its own thread
// while the code under test waits for the answer.
class TFileManagerService {
 public:
  TFileManagerService() {
    thread_.start();
    fake_.moveToThread(&thread_);
    QDBusConnection bus = QDBusConnection::connectToBus(gBusAddress, "fake-file-manager");
    registered_ = bus.registerObject("/org/freedesktop/FileManager1", &fake_,
                                     QDBusConnection::ExportAllSlots) &&
                  bus.registerService("org.freedesktop.FileManager1");
  }
  ~TFileManagerService() {
    QDBusConnection bus(QDBusConnection::connectToBus(gBusAddress, "fake-file-manager"));
    bus.unregisterService("org.freedesktop.FileManager1");
    bus.unregisterObject("/org/freedesktop/FileManager1");
    QDBusConnection::disconnectFromBus("fake-file-manager");
    thread_.quit();
    thread_.wait();
  }
  bool Registered() const { return registered_; }
  QStringList Calls() { return fake_.Calls(); }

 private:
  QThread thread_;
  TFakeFileManager fake_;
  bool registered_ = false;
};

TLaunchDataItem Item(std::uint8_t kind, const std::string& link) {
  TLaunchDataItem item;
  item.Kind = kind;
  item.Link = link;
  return item;
}

}  // namespace

TEST(FileManagerBus, PropertiesAndFoldersGoToTheFileManager) {
  if (gBusAddress.isEmpty()) GTEST_SKIP() << "dbus-daemon is not installed";
  TTempDir dir;
  std::filesystem::create_directory(dir.File("a b"));
  const std::string folder = dir.File("a b");
  const std::string uri = QUrl::fromLocalFile(QString::fromStdString(folder))
                              .toString(QUrl::FullyEncoded)
                              .toStdString();
  {
    TFileManagerService service;
    ASSERT_TRUE(service.Registered());
    EXPECT_TRUE(ShowItemProperties(Item(lkFolder, folder)));
    EXPECT_TRUE(OpenFolder(folder + "/"));
    EXPECT_FALSE(ShowItemProperties(Item(lkFolder, dir.File("missing"))));
    EXPECT_EQ(service.Calls().join('\n').toStdString(),
              "ShowItemProperties " + uri + " []\nShowFolders " + uri + "/ []");
    EXPECT_NE(uri.find("a%20b"), std::string::npos) << "the path travels as an encoded file URL";
  }
  // Once the file manager is gone, nothing answers (the bus starts no services).
  EXPECT_FALSE(ShowItemProperties(Item(lkFolder, folder)));
}

// A session bus that activates nothing: no real file manager can be started.
const char kBusConfig[] =
    "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
    " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
    "<busconfig><type>session</type><listen>unix:tmpdir=/tmp</listen>\n"
    "<policy context=\"default\"><allow send_destination=\"*\"/><allow own=\"*\"/>"
    "<allow receive_sender=\"*\"/></policy></busconfig>\n";

int main(int argc, char** argv) {
  TTempDir folder;
  testing_support::WriteFile(folder.File("bus.conf"), kBusConfig);
  QProcess daemon;
  QString program = QStandardPaths::findExecutable("dbus-daemon");
  if (!program.isEmpty()) {
    daemon.start(program, {"--config-file=" + QString::fromStdString(folder.File("bus.conf")),
                           "--nofork", "--print-address=1"});
    if (daemon.waitForStarted(10000) && daemon.waitForReadyRead(10000))
      gBusAddress = QString::fromUtf8(daemon.readLine()).trimmed();
  }
  if (!gBusAddress.isEmpty())
    ::setenv("DBUS_SESSION_BUS_ADDRESS", gBusAddress.toUtf8().constData(), 1);
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  int status;
  {
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    status = RUN_ALL_TESTS();
  }
  if (daemon.state() != QProcess::NotRunning) {
    daemon.terminate();
    daemon.waitForFinished(10000);
  }
  return status;
}

#include "FileManagerBusTest.moc"
