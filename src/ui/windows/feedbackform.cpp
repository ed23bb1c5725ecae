#include "windows/feedbackform.h"

#include "platform/composemail.h"
#include "platform/endpoints.h"
#include "platform/launcher.h"
#include "windows/links.h"
#include "windows/userdialogs.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace quorvane {

namespace {
constexpr int kTextWidth = 460;
constexpr int kIndent = 22;

QString siteName()
{
    return QString::fromLatin1(endpoints::downloadSiteName);
}

QLabel *makeLabel(const char *name, const QString &text, QWidget *parent, bool wrap = false)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    if (wrap) {
        label->setWordWrap(true);
        label->setFixedWidth(kTextWidth);
    }
    return label;
}

QLabel *makeDecoration(const char *name, const char *icon, QWidget *parent)
{
    auto *picture = new QLabel(parent);
    picture->setObjectName(QString::fromLatin1(name));
    picture->setPixmap(QIcon(QString::fromLatin1(icon)).pixmap(16, 16));
    picture->setFixedSize(16, 16);
    return picture;
}

// A heading line with its decoration picture in front.
QHBoxLayout *headed(QLabel *decoration, QWidget *heading)
{
    auto *row = new QHBoxLayout;
    row->setSpacing(6);
    row->addWidget(decoration);
    row->addWidget(heading, 1);
    return row;
}

// A line indented under its heading.
QHBoxLayout *indented(std::initializer_list<QWidget *> widgets)
{
    auto *row = new QHBoxLayout;
    row->setSpacing(4);
    row->addSpacing(kIndent);
    for (QWidget *widget : widgets)
        row->addWidget(widget);
    row->addStretch();
    return row;
}

QFrame *makeLine(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}
} // namespace

FeedbackForm::FeedbackForm(Launcher &launcher, UserDialogs &dialogs, const QIcon &icon)
    : AuxiliaryWindow(icon), m_launcher(launcher), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("ForQuorvane"));
    setWindowTitle(QStringLiteral("I Like Quorvane"));

    auto *label1 = makeLabel(
        "Label1",
        QStringLiteral("Glad to hear that you liked it. These are several things you can do: "),
        this, true);
    QFont bold = label1->font();
    bold.setBold(true);
    label1->setFont(bold);

    // Contact.
    auto *label2 = makeLabel(
        "Label2",
        QStringLiteral("* Contact us if you have any suggestions, opinions or notes about it on:"),
        this);
    auto *label6 = new LinkButton(QString::fromLatin1(endpoints::supportEmail),
                                  QStringLiteral("Contact Kelvaro Software"), this);
    label6->setObjectName(QStringLiteral("Label6"));
    connect(label6, &QPushButton::clicked, this, [this] { MailSupport(m_launcher); });

    // Tell a friend.
    auto *label3 = makeLabel(
        "Label3", QStringLiteral("* Tell all your friends and relatives about Quorvane:"), this);
    auto *label4 = new LinkButton(QStringLiteral("Tell-a-friend"),
                                  QStringLiteral("Tell-a-friend about Quorvane"), this);
    label4->setObjectName(QStringLiteral("Label4"));
    connect(label4, &QPushButton::clicked, this, [this] {
        ComposeMail(m_launcher, QString(), QStringLiteral("I Like Quorvane"),
                    QString::fromLatin1(endpoints::productPage), QString(), QString(), QString());
    });

    // Vote at the download site.
    auto *label5 = makeLabel("Label5",
                             QStringLiteral("* Vote for Quorvane at ") + siteName() +
                                 QStringLiteral(", where it is listed:"),
                             this);
    auto *label7 = makeLabel("Label7", siteName() + QStringLiteral(" home page:"), this);
    auto *label8 =
        new LinkButton(siteName(), QString::fromLatin1(endpoints::downloadSiteHome), this);
    label8->setObjectName(QStringLiteral("Label8"));
    connect(label8, &QPushButton::clicked, this,
            [this] { ShellOpen(m_launcher, QString::fromLatin1(endpoints::downloadSiteHome)); });
    auto *label9 = makeLabel("Label9",
                             QStringLiteral("Search ") + siteName() +
                                 QStringLiteral(" for Quorvane, open its page and click its "
                                                "\"Rate it!\" link."),
                             this);
    label9->setWordWrap(true);
    label9->setFixedWidth(kTextWidth - kIndent - 24);
    auto *image1 = new PictureButton(QIcon(QStringLiteral(":/icons/Tip.svg")), QSize(16, 16),
                                     QStringLiteral("Tip"), this);
    image1->setObjectName(QStringLiteral("Image1"));
    connect(image1, &QToolButton::clicked, this, &FeedbackForm::showRegistrationTip);

    // Bug reports.
    auto *label10 = makeLabel(
        "Label10", QStringLiteral("When reporting bugs or problems please include:"), this);
    label10->setFont(bold);
    auto *label11 = makeLabel("Label11", QStringLiteral("* Quorvane version"), this);
    auto *label12 =
        makeLabel("Label12", QStringLiteral("* Windows Operating System version"), this);
    auto *label13 = makeLabel(
        "Label13", QStringLiteral("* Problem description (preferably, in detail) "), this);
    auto *label14 = makeLabel("Label14",
                              QStringLiteral("Please keep in mind that the more information you "
                                             "provide about your problem the better chance we "
                                             "have of finding a solution."),
                              this, true);

    // Donations.
    auto *label15 = makeLabel("Label15", QStringLiteral("Donate:"), this);
    label15->setFont(bold);
    auto *label16 = makeLabel("Label16",
                              QStringLiteral("Help to keep our programs running and the free "
                                             "downloads available by donating at the following "
                                             "email address:"),
                              this, true);
    auto *text1 = new QLineEdit(QString::fromLatin1(endpoints::donationEmail), this);
    text1->setObjectName(QStringLiteral("Text1"));
    text1->setReadOnly(true);
    text1->setAccessibleName(QStringLiteral("Donation e-mail address"));
    text1->setMinimumWidth(200);
    auto *image2 = new PictureButton(QIcon(QStringLiteral(":/icons/Donate.svg")), QSize(92, 26),
                                     QString::fromLatin1(endpoints::paymentServiceHome), this);
    image2->setObjectName(QStringLiteral("Image2"));
    image2->setAccessibleName(QStringLiteral("Donate"));
    image2->setAccessibleDescription(QString::fromLatin1(endpoints::paymentServiceHome));
    connect(image2, &QToolButton::clicked, this,
            [this] { ShellOpen(m_launcher, QString::fromLatin1(endpoints::paymentServiceHome)); });

    // An empty box with no use; kept out of sight and out of the tab chain.
    auto *mail = new QLineEdit(this);
    mail->setObjectName(QStringLiteral("Mail"));
    mail->setReadOnly(true);
    mail->hide();

    auto *image11 = new PictureButton(QIcon(QStringLiteral(":/icons/ClosePicture.svg")),
                                      QSize(16, 16), QStringLiteral("Close"), this);
    image11->setObjectName(QStringLiteral("Image11"));
    connect(image11, &QToolButton::clicked, this, &FeedbackForm::reject);

    auto *image29 = makeDecoration("Image29", ":/icons/Image1.svg", this);
    auto *image30 = makeDecoration("Image30", ":/icons/Image1.svg", this);
    auto *image31 = makeDecoration("Image31", ":/icons/Image1.svg", this);

    auto *top = new QHBoxLayout;
    top->addWidget(label1, 1);
    top->addWidget(image11, 0, Qt::AlignTop);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 12);
    layout->setSpacing(4);
    layout->addLayout(top);
    layout->addSpacing(4);
    layout->addLayout(headed(image29, label2));
    layout->addLayout(indented({label6}));
    layout->addSpacing(4);
    layout->addLayout(headed(image30, label3));
    layout->addLayout(indented({label4}));
    layout->addSpacing(4);
    layout->addLayout(headed(image31, label5));
    layout->addLayout(indented({label7, label8}));
    layout->addLayout(indented({label9, image1}));
    layout->addSpacing(4);
    layout->addWidget(makeLine(this));
    layout->addWidget(label10);
    layout->addLayout(indented({label11}));
    layout->addLayout(indented({label12}));
    layout->addLayout(indented({label13}));
    layout->addWidget(label14);
    layout->addWidget(makeLine(this));
    layout->addWidget(label15);
    layout->addWidget(label16);
    auto *donate = new QHBoxLayout;
    donate->addWidget(text1, 1);
    donate->addSpacing(8);
    donate->addWidget(image2);
    layout->addLayout(donate);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(label6, label4);
    setTabOrder(label4, label8);
    setTabOrder(label8, image1);
    setTabOrder(image1, text1);
    setTabOrder(text1, image2);
    setTabOrder(image2, image11);
}

void FeedbackForm::showRegistrationTip()
{
    m_dialogs.message(this, QMessageBox::Information, QStringLiteral("Quorvane"),
                      QStringLiteral("Voting for a program and writing a review at ") + siteName() +
                          QStringLiteral(" need a free registration with that site."),
                      QMessageBox::Ok, QMessageBox::Ok);
}

} // namespace quorvane
