// An address the desktop cannot open is shown to the user, who can copy it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "platform/open_url.h"

namespace {

TEST(OpenUrl, AnAddressNoBrowserOpensIsShownToCopy) {
    // A desktop opener that finds no browser, as xdg-open answers then.
    QTemporaryDir bin;
    ASSERT_TRUE(bin.isValid());
    QFile opener(bin.path() + "/xdg-open");
    ASSERT_TRUE(opener.open(QIODevice::WriteOnly));
    opener.write("#!/bin/sh\necho 'no method available for opening' >&2\nexit 3\n");
    opener.close();
    opener.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.path().toLocal8Bit());

    const QString url = "https://example.org/cgi-bin/upgrade?p=arm/Halvern/Lekta%2DHebrew&v=1.84a";
    QString shown;
    QTimer poll;  // answers the box once it is up: copies the address and closes
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        shown = box->text();
        if (auto* copy = box->findChild<QPushButton*>("copy_address")) copy->click();
        box->accept();
    });
    poll.start(20);
    lekta::plat::open_url(nullptr, reinterpret_cast<const char16_t*>(url.utf16()));
    QElapsedTimer waited;
    waited.start();
    while (shown.isEmpty() && waited.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    qputenv("PATH", path);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the ended opener

    EXPECT_TRUE(shown.contains(url)) << shown.toStdString();
    EXPECT_EQ(url, QGuiApplication::clipboard()->text());
}

}  // namespace
