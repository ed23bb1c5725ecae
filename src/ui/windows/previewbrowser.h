#pragma once

#include <QHash>
#include <QImage>
#include <QTextBrowser>
#include <QUrl>

namespace quorvane {

class RemoteImages;

// The text browser of the live preview. It loads the page's pictures itself:
// local files from disk (kept for the session), pictures from the web only
// when allowed and then through RemoteImages, a placeholder for anything
// that is not (yet) there. It never follows a link.
class PreviewBrowser : public QTextBrowser
{
    Q_OBJECT

public:
    explicit PreviewBrowser(RemoteImages &images, QWidget *parent = nullptr);

    void setRemoteImagesAllowed(bool allowed) { m_remoteAllowed = allowed; }
    bool remoteImagesAllowed() const { return m_remoteAllowed; }

    enum class Placeholder { NotLoaded, Loading, Failed };
    static QImage placeholder(Placeholder kind);

    QVariant loadResource(int type, const QUrl &name) override;

private:
    RemoteImages &m_images;
    bool m_remoteAllowed = false;
    QHash<QUrl, QImage> m_localPictures;
};

} // namespace quorvane
