#pragma once

#include <QObject>
#include <QString>

class QTextDocument;

namespace quorvane {

// The post as a window beside the editor reads it, without the editor
// itself: windows sit below the shell and never change the post. The editor
// hands one out (Typer::source()).
class PostSource : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // The whole post with CR LF line breaks.
    virtual QString text() const = 0;
    // Its length in characters, in constant time.
    virtual qsizetype length() const = 0;
    // The editor's document, to read lines from, and the caret's block and
    // place in it.
    virtual const QTextDocument &document() const = 0;
    virtual int caretBlock() const = 0;
    virtual int caretInBlock() const = 0;

signals:
    // After every change of the text.
    void changed();
    void caretMoved();
};

} // namespace quorvane
