#include "windows/aboutform.h"

#include "platform/appinfo.h"
#include "platform/endpoints.h"
#include "platform/launcher.h"
#include "windows/links.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>
#include <pwd.h>
#include <unistd.h>

namespace quorvane {

QString currentLoginName()
{
    if (const passwd *entry = getpwuid(getuid()); entry && entry->pw_name && *entry->pw_name)
        return QString::fromLocal8Bit(entry->pw_name);
    if (const char *login = getlogin(); login && *login)
        return QString::fromLocal8Bit(login);
    return QString();
}

namespace {
QLabel *makeLabel(const char *name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QLabel *makePicture(const char *name, const QString &icon, int size, QWidget *parent)
{
    auto *picture = new QLabel(parent);
    picture->setObjectName(QString::fromLatin1(name));
    picture->setPixmap(QIcon(icon).pixmap(size, size));
    picture->setFixedSize(size, size);
    return picture;
}
} // namespace

AboutForm::AboutForm(Launcher &launcher, const QIcon &icon,
                     const std::function<QString()> &loginName)
    : AuxiliaryWindow(icon), m_launcher(launcher)
{
    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(QStringLiteral("About Quorvane"));

    auto *picture1 = makePicture("Picture1", QStringLiteral(":/icons/AboutPicture.svg"), 48, this);
    auto *image2 = makePicture("Image2", QStringLiteral(":/icons/quorvane.svg"), 32, this);

    auto *label3 = makeLabel(
        "Label3", QStringLiteral("Quorvane - Version ") + QLatin1String(appinfo::version), this);
    QFont titleFont = label3->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
    label3->setFont(titleFont);

    auto *closeBox = new PictureButton(QIcon(QStringLiteral(":/icons/ClosePicture.svg")),
                                       QSize(16, 16), QStringLiteral("Close"), this);
    closeBox->setObjectName(QStringLiteral("CloseBox"));
    connect(closeBox, &QToolButton::clicked, this, &AboutForm::reject);

    auto *label2 = makeLabel("Label2", QStringLiteral("Registered to :"), this);
    m_userName = makeLabel("UserName", loginName(), this);
    m_userName->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *label8 = makeLabel("Label8", QStringLiteral("Contact:"), this);
    auto *label9 = makeLabel("Label9", QStringLiteral("E-Mail :"), this);
    auto *label6 = new LinkButton(QString::fromLatin1(endpoints::supportEmail),
                                  QStringLiteral("Contact Kelvaro Software"), this);
    label6->setObjectName(QStringLiteral("Label6"));
    connect(label6, &QPushButton::clicked, this, [this] { MailSupport(m_launcher); });

    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto *label15 = makeLabel(
        "Label15",
        QStringLiteral("Quorvane is free software under the MIT License; see "
                       "\"License Agreement\" in the Help menu. It comes with no warranty "
                       "of any kind."),
        this);
    label15->setWordWrap(true);
    auto *label4 =
        makeLabel("Label4", QStringLiteral("Copyright \u00A9 2026 The Quorvane developers"), this);

    auto *details = new QGridLayout;
    details->setHorizontalSpacing(6);
    details->setVerticalSpacing(4);
    details->addWidget(label2, 0, 0);
    details->addWidget(m_userName, 0, 1);
    details->addWidget(label8, 1, 0, 1, 2);
    details->addWidget(label9, 2, 0);
    details->addWidget(label6, 2, 1, Qt::AlignLeft);
    details->setColumnStretch(1, 1);

    auto *title = new QHBoxLayout;
    title->addWidget(label3, 1);
    title->addWidget(closeBox, 0, Qt::AlignTop);

    auto *text = new QVBoxLayout;
    text->setSpacing(6);
    text->addLayout(title);
    text->addLayout(details);
    text->addWidget(line);
    text->addWidget(label15);
    text->addWidget(label4);

    auto *pictures = new QVBoxLayout;
    pictures->addWidget(picture1, 0, Qt::AlignHCenter);
    pictures->addStretch();
    pictures->addWidget(image2, 0, Qt::AlignHCenter);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(14);
    layout->addLayout(pictures);
    layout->addLayout(text, 1);

    label15->setFixedWidth(300);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setTabOrder(label6, closeBox);
}

QString AboutForm::userName() const
{
    return m_userName->text();
}

} // namespace quorvane
