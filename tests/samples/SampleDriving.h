#pragma once
// Driving the example list and the diary through the real window: the
// question dialogs, the files a test starts from, what the window shows.

#include "samples/SampleFile.h"
#include "support/TalkFixture.h"

#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

namespace kel {

// Answers the modal dialogs a handler waits in, in turn (0: the first
// button, 1: the second; none left: the box is closed, the answer False, so
// that an unexpected question cannot hang the test), and records each as
// "title|message|button|button".
class DialogScript : public QObject {
public:
    explicit DialogScript(std::initializer_list<int> answers = {}) : answers_(answers)
    {
        connect(&timer_, &QTimer::timeout, this, &DialogScript::poll);
        timer_.start(5);
    }
    QStringList seen;

private:
    void poll()
    {
        QWidget *w = QApplication::activeModalWidget();
        if (!w || w == last_ || !w->isVisible())
            return;
        last_ = w;
        QStringList dialog{w->windowTitle(), w->findChild<QLabel *>("lblOK")->text()};
        for (auto *b : {w->findChild<QPushButton *>("cmdOK0"), w->findChild<QPushButton *>("cmdOK1")})
            if (b->isVisible())
                dialog << b->text();
        seen << dialog.join(u'|');
        if (answers_.isEmpty())
            w->close();
        else
            QTest::mouseClick(w->findChild<QPushButton *>(QStringLiteral("cmdOK%1").arg(answers_.takeFirst())),
                              Qt::LeftButton);
    }

    QTimer timer_;
    QList<int> answers_;
    QPointer<QWidget> last_;
};

inline std::map<QString, QByteArray> talkFile(const QByteArray &bytes)
{
    return {{kSampleFileName, bytes}};
}

// The records of `texts` in order, each as the program writes one (the
// record format itself is pinned byte for byte in test_samplefile).
inline QByteArray records(const QStringList &texts)
{
    QByteArray bytes;
    for (const QString &text : texts)
        bytes += encodeRecord(text).value();
    return bytes;
}

// The rows of a two-column list as "column 0|column 1".
inline QStringList rows(const FlexGrid *g)
{
    QStringList out;
    for (int r = 0; r < g->Rows(); ++r)
        out << g->TextMatrix(r, 0) + u'|' + g->TextMatrix(r, 1);
    return out;
}

// The object names of those of `widgets` that are visible.
inline QStringList shown(const QList<QWidget *> &widgets)
{
    QStringList names;
    for (const QWidget *w : widgets)
        if (w->isVisible())
            names << w->objectName();
    return names;
}

// Everything in the program folder: a save must leave no temporary behind.
inline QStringList folderEntries(const TalkFixture &f)
{
    return QDir(f.home.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace kel
