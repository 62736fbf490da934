#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QObject>
#include <QUrl>

#include "common/ui/qt/QtUrlOpener.h"

namespace Ui {
namespace {

// Stands in for the browser: the desktop services hand it the pages opened.
class FakeBrowser : public QObject {
  Q_OBJECT

 public:
  QList<QUrl> opened;

 public slots:
  void Show(const QUrl& url) { opened << url; }
};

TEST(QtUrlOpener, HandsThePageToTheBrowserUnchanged) {
  FakeBrowser browser;
  QDesktopServices::setUrlHandler(QStringLiteral("https"), &browser, "Show");
  QtUrlOpener opener;
  const bool opened = opener.Open(u"https://www.example.com/download/details.aspx?id=13255&lang=en");
  QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
  EXPECT_TRUE(opened);
  ASSERT_EQ(browser.opened.size(), 1);
  EXPECT_EQ(browser.opened[0].toString(), QStringLiteral("https://www.example.com/download/details.aspx?id=13255&lang=en"));
}

}  // namespace
}  // namespace Ui

#include "UrlOpenerTest.moc"
