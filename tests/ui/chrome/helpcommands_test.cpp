#include "commands/helpcommands.h"
#include "documents/documentfile.h"
#include "platform/endpoints.h"
#include "platform/paths.h"
#include "shell/mainform.h"
#include "shell/typer.h"
#include "support/scripted.h"
#include "windows/aboutform.h"
#include "windows/feedbackform.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace quorvane {
namespace {

const QUrl productPage(QString::fromLatin1(endpoints::productPage));
const QUrl supportMail(QStringLiteral("mailto:") + QString::fromLatin1(endpoints::supportEmail));

class HelpTest : public ::testing::Test
{
protected:
    test::Window window;
    MainForm &form = *window.form;
    HelpCommands &help = *form.findChild<HelpCommands *>();

    QList<QUrl> &urls() { return window.launcher.urls; }

    // The one URL opened since the last call.
    QUrl takeUrl()
    {
        EXPECT_EQ(urls().size(), 1);
        const QUrl url = urls().isEmpty() ? QUrl() : urls().front();
        urls().clear();
        return url;
    }

    static QWidget *topLevelNamed(const QString &name)
    {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == name)
                return widget;
        }
        return nullptr;
    }

    template <class T = QWidget> static T *part(QWidget *window, const char *name)
    {
        auto *widget = window->findChild<T *>(QLatin1String(name));
        EXPECT_TRUE(widget) << name;
        return widget;
    }
};

TEST_F(HelpTest, MenuItemsAndTheStripLinkOpenTheirTargets)
{
    form.command("LicenseAgreement")->trigger();
    const QUrl licence = takeUrl();
    EXPECT_EQ(licence,
              QUrl::fromLocalFile(programDataDir() + QStringLiteral("/License Agreement.rtf")));
    // The shipped document is there, and reads as text in the program's own
    // reader too.
    const ReadResult read = readDocumentFile(licence.toLocalFile());
    ASSERT_TRUE(read.ok) << read.error.toStdString();
    EXPECT_TRUE(read.text.contains(QStringLiteral("Permission is hereby granted")));
    EXPECT_FALSE(read.text.contains(QLatin1Char('\\')));

    form.command("MailUs")->trigger();
    EXPECT_EQ(takeUrl(), supportMail);

    form.command("Website")->trigger();
    EXPECT_EQ(takeUrl(), productPage);

    // "More free utilities..." opens the same page, by mouse and by keyboard.
    auto *link = form.control<QAbstractButton>("FreeUtilities");
    ASSERT_TRUE(link);
    EXPECT_EQ(link->text(), "More free utilities...");
    EXPECT_EQ(link->parentWidget(), form.topFrame());
    EXPECT_FALSE(link->accessibleName().isEmpty());
    QTest::mouseClick(link, Qt::LeftButton);
    EXPECT_EQ(takeUrl(), productPage);
    link->setFocus();
    QTest::keyClick(link, Qt::Key_Space);
    EXPECT_EQ(takeUrl(), productPage);
    QTest::keyClick(link, Qt::Key_Return);
    EXPECT_EQ(takeUrl(), productPage);
}

TEST_F(HelpTest, AboutWindowExistsHiddenFromTheStart)
{
    AboutForm *about = help.aboutForm();
    ASSERT_TRUE(about);
    EXPECT_EQ(topLevelNamed("AboutForm"), about);
    EXPECT_FALSE(about->isVisible());
    EXPECT_EQ(about->windowTitle(), "About Quorvane");
    EXPECT_EQ(about->windowIcon().cacheKey(), form.windowIcon().cacheKey());
    EXPECT_EQ(about->parentWidget(), nullptr);
    EXPECT_EQ(about->userName(), currentLoginName());
    EXPECT_EQ(part<QLabel>(about, "UserName")->text(), currentLoginName());
    EXPECT_EQ(part<QLabel>(about, "Label3")->text(), "Quorvane - Version 1.1.2");
    EXPECT_EQ(part<QLabel>(about, "Label2")->text(), "Registered to :");
    EXPECT_EQ(part<QLabel>(about, "Label8")->text(), "Contact:");
    EXPECT_EQ(part<QLabel>(about, "Label9")->text(), "E-Mail :");

    form.command("About")->trigger();
    EXPECT_TRUE(about->isVisible());
    auto *mail = part<QAbstractButton>(about, "Label6");
    EXPECT_EQ(mail->text(), QString::fromLatin1(endpoints::supportEmail));
    EXPECT_EQ(mail->toolTip(), "Contact Kelvaro Software");
    EXPECT_EQ(mail->accessibleName(), "Contact Kelvaro Software");
    EXPECT_NE(mail->focusPolicy() & Qt::TabFocus, 0);
    QTest::mouseClick(mail, Qt::LeftButton);
    EXPECT_EQ(takeUrl(), supportMail);
}

TEST(AboutForm, AsksForTheUserNameOnceAndShowsABlankWhenThereIsNone)
{
    test::RecordingLauncher launcher;
    int asked = 0;
    AboutForm about(launcher, QIcon(), [&asked] {
        ++asked;
        return QStringLiteral("ada");
    });
    for (int i = 0; i < 3; ++i) {
        about.show();
        EXPECT_EQ(about.userName(), "ada");
        about.close();
    }
    EXPECT_EQ(asked, 1);

    AboutForm nameless(launcher, QIcon(), [] { return QString(); });
    EXPECT_EQ(nameless.userName(), "");
}

TEST_F(HelpTest, FeedbackWindowIsMadeOnFirstUseAndKept)
{
    EXPECT_EQ(help.feedbackForm(), nullptr);
    EXPECT_EQ(topLevelNamed("ForQuorvane"), nullptr);

    form.command("IlIke")->trigger();
    FeedbackForm *feedback = help.feedbackForm();
    ASSERT_TRUE(feedback);
    EXPECT_EQ(topLevelNamed("ForQuorvane"), feedback);
    EXPECT_TRUE(feedback->isVisible());
    EXPECT_EQ(feedback->windowTitle(), "I Like Quorvane");
    EXPECT_EQ(feedback->windowIcon().cacheKey(), form.windowIcon().cacheKey());
    EXPECT_EQ(feedback->parentWidget(), nullptr);

    feedback->close();
    form.command("IlIke")->trigger();
    EXPECT_EQ(help.feedbackForm(), feedback);
    EXPECT_TRUE(feedback->isVisible());
}

TEST_F(HelpTest, FeedbackLinksOpenTheirTargets)
{
    form.command("IlIke")->trigger();
    FeedbackForm *feedback = help.feedbackForm();
    ASSERT_TRUE(feedback);

    QTest::mouseClick(part<QAbstractButton>(feedback, "Label6"), Qt::LeftButton);
    EXPECT_EQ(takeUrl(), supportMail);

    auto *tell = part<QAbstractButton>(feedback, "Label4");
    EXPECT_EQ(tell->text(), "Tell-a-friend");
    EXPECT_EQ(tell->toolTip(), "Tell-a-friend about Quorvane");
    QTest::mouseClick(tell, Qt::LeftButton);
    const QUrl mail = takeUrl();
    EXPECT_EQ(mail.toString(QUrl::FullyEncoded),
              QStringLiteral("mailto:?Subject=I%20Like%20Quorvane&Body=") +
                  QString::fromLatin1(endpoints::productPage) + QStringLiteral("%0D%0A"));

    auto *site = part<QAbstractButton>(feedback, "Label8");
    EXPECT_EQ(site->text(), QString::fromLatin1(endpoints::downloadSiteName));
    EXPECT_EQ(site->toolTip(), QString::fromLatin1(endpoints::downloadSiteHome));
    QTest::mouseClick(site, Qt::LeftButton);
    EXPECT_EQ(takeUrl(), QUrl(QString::fromLatin1(endpoints::downloadSiteHome)));

    auto *donate = part<QAbstractButton>(feedback, "Image2");
    EXPECT_EQ(donate->toolTip(), QString::fromLatin1(endpoints::paymentServiceHome));
    QTest::mouseClick(donate, Qt::LeftButton);
    EXPECT_EQ(takeUrl(), QUrl(QString::fromLatin1(endpoints::paymentServiceHome)));

    auto *tip = part<QAbstractButton>(feedback, "Image1");
    EXPECT_EQ(tip->toolTip(), "Tip");
    tip->setFocus();
    QTest::keyClick(tip, Qt::Key_Space);
    ASSERT_EQ(window.dialogs.messages.size(), 1);
    const auto &message = window.dialogs.messages.front();
    EXPECT_EQ(message.icon, QMessageBox::Information);
    EXPECT_EQ(message.title, "Quorvane");
    EXPECT_EQ(message.buttons, QMessageBox::Ok);
    EXPECT_TRUE(message.text.contains(QString::fromLatin1(endpoints::downloadSiteName)));
    EXPECT_TRUE(urls().isEmpty());

    auto *address = part<QLineEdit>(feedback, "Text1");
    EXPECT_EQ(address->text(), QString::fromLatin1(endpoints::donationEmail));
    EXPECT_TRUE(address->isReadOnly());

    // Every link is a named stop on the keyboard's way through the window.
    for (auto *link : feedback->findChildren<QAbstractButton *>()) {
        EXPECT_FALSE(link->accessibleName().isEmpty()) << link->objectName().toStdString();
        EXPECT_NE(link->focusPolicy() & Qt::TabFocus, 0) << link->objectName().toStdString();
    }
}

TEST_F(HelpTest, FeedbackLabelsKeepTheirTexts)
{
    form.command("IlIke")->trigger();
    QWidget *feedback = help.feedbackForm();
    ASSERT_TRUE(feedback);
    const std::pair<const char *, const char *> texts[] = {
        {"Label1", "Glad to hear that you liked it. These are several things you can do: "},
        {"Label2", "* Contact us if you have any suggestions, opinions or notes about it on:"},
        {"Label3", "* Tell all your friends and relatives about Quorvane:"},
        {"Label10", "When reporting bugs or problems please include:"},
        {"Label11", "* Quorvane version"},
        {"Label12", "* Windows Operating System version"},
        {"Label13", "* Problem description (preferably, in detail) "},
        {"Label14", "Please keep in mind that the more information you provide about your "
                    "problem the better chance we have of finding a solution."},
        {"Label15", "Donate:"},
        {"Label16", "Help to keep our programs running and the free downloads available by "
                    "donating at the following email address:"},
    };
    for (const auto &[name, text] : texts)
        EXPECT_EQ(part<QLabel>(feedback, name)->text(), QString::fromUtf8(text)) << name;
    for (const char *name : {"Label5", "Label7", "Label9"}) {
        EXPECT_TRUE(part<QLabel>(feedback, name)
                        ->text()
                        .contains(QString::fromLatin1(endpoints::downloadSiteName)))
            << name;
    }
}

// The three ways out of an auxiliary window, each tried on both windows.
enum class Exit { Escape, ClosePicture, WindowSystem };

class PseudoModalTest : public HelpTest, public ::testing::WithParamInterface<Exit>
{
protected:
    void leave(QWidget *auxiliary, const char *closePicture)
    {
        switch (GetParam()) {
        case Exit::Escape: {
            QWidget *focus = auxiliary->focusWidget();
            QTest::keyClick(focus ? focus : auxiliary, Qt::Key_Escape);
            break;
        }
        case Exit::ClosePicture:
            QTest::mouseClick(part(auxiliary, closePicture), Qt::LeftButton);
            break;
        case Exit::WindowSystem:
            auxiliary->close();
            break;
        }
    }

    void SetUp() override
    {
        form.activateWindow();
        form.typer()->setFocus();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        ASSERT_TRUE(form.typer()->hasFocus());
    }

    void checkRoundTrip(QWidget *auxiliary, const char *closePicture)
    {
        EXPECT_TRUE(QTest::qWaitForWindowActive(auxiliary));
        EXPECT_TRUE(auxiliary->isVisible());
        EXPECT_TRUE(auxiliary->isEnabled());
        EXPECT_FALSE(form.isEnabled());
        leave(auxiliary, closePicture);
        EXPECT_FALSE(auxiliary->isVisible());
        EXPECT_TRUE(form.isEnabled());
        EXPECT_TRUE(form.isVisible());
        // Typing goes on where it stopped.
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
        EXPECT_EQ(QApplication::focusWidget(), form.typer())
            << (QApplication::focusWidget() ? QApplication::focusWidget()->metaObject()->className()
                                            : "none");
    }
};

TEST_P(PseudoModalTest, AboutWindowGivesTheMainWindowBack)
{
    for (int round = 0; round < 2; ++round) {
        form.command("About")->trigger();
        checkRoundTrip(help.aboutForm(), "CloseBox");
    }
    EXPECT_EQ(help.aboutForm()->userName(), currentLoginName());
}

TEST_P(PseudoModalTest, FeedbackWindowGivesTheMainWindowBack)
{
    for (int round = 0; round < 2; ++round) {
        form.command("IlIke")->trigger();
        checkRoundTrip(help.feedbackForm(), "Image11");
    }
}

INSTANTIATE_TEST_SUITE_P(Exits, PseudoModalTest,
                         ::testing::Values(Exit::Escape, Exit::ClosePicture, Exit::WindowSystem),
                         [](const auto &instance) {
                             switch (instance.param) {
                             case Exit::Escape:
                                 return "Escape";
                             case Exit::ClosePicture:
                                 return "ClosePicture";
                             default:
                                 return "WindowSystem";
                             }
                         });

} // namespace
} // namespace quorvane
