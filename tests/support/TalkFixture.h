#pragma once
// A main window on fakes, for tests that drive the real controls the way a
// user does: a clock the test advances (with actions scheduled at given
// moments, such as a button's release during a hold loop), a recording wave
// player, a beep counter, a settings file and a program folder of its own.

#include "app/FrmTalk.h"
#include "base/Clock.h"
#include "base/SettingsStore.h"
#include "fakes/RecordingPlayer.h"
#include "support/Files.h"
#include "support/Touch.h"
#include "widgets/ColorButton.h"
#include "widgets/FlexGrid.h"
#include "widgets/Fonts.h"
#include "widgets/Platform.h"
#include "widgets/TalkBox.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <vector>

#include <sys/stat.h>

namespace kel {

class FakeClock final : public Clock {
public:
    Nanos now() const override { return t_; }
    void sleepFor(Nanos d) override
    {
        t_ += d;
        fireDue();
    }
    // Runs `action` once the clock has passed `seconds` from now. Actions run
    // inside a wait, where the program processes no events: post events from
    // them (postRelease below) rather than sending them.
    void after(double seconds, std::function<void()> action)
    {
        pending_.push_back({t_ + std::chrono::duration_cast<Nanos>(std::chrono::duration<double>(seconds)),
                            std::move(action)});
    }
    double seconds() const { return std::chrono::duration<double>(t_).count(); }

private:
    void fireDue()
    {
        for (size_t i = 0; i < pending_.size();) {
            if (pending_[i].first <= t_) {
                auto action = std::move(pending_[i].second);
                pending_.erase(pending_.begin() + long(i));
                action();
            } else {
                ++i;
            }
        }
    }
    Nanos t_{std::chrono::seconds(1000)};
    std::vector<std::pair<Nanos, std::function<void()>>> pending_;
};

class RecordingPlatform final : public Platform {
public:
    void beep() override { ++beeps; }
    int beeps = 0;
};

class TalkFixture {
public:
    // `options` are stored before start-up; `files` are written into the
    // program folder as raw bytes (e.g. {"Talk.txt", bytes}).
    TalkFixture(std::initializer_list<std::pair<QString, QString>> options,
                std::map<QString, QByteArray> files = {})
        : TalkFixture(std::map<QString, QString>(options.begin(), options.end()), std::move(files))
    {
    }
    explicit TalkFixture(const std::map<QString, QString> &options = {}, const std::map<QString, QByteArray> &files = {})
    {
        installFontSubstitutions();
        store = std::make_unique<SettingsStore>(config.path() + QStringLiteral("/Talk.ini"));
        for (const auto &[k, v] : options) {
            // "GROUP/Key" goes into a group of its own, a plain key into the options.
            if (k.contains(QLatin1Char('/')))
                store->saveIn(k.section(QLatin1Char('/'), 0, 0), k.section(QLatin1Char('/'), 1), v);
            else
                store->save(k, v);
        }
        for (const auto &[name, bytes] : files)
            writeFile(name, bytes);
        Services sv{&clock, &player, &platform, store.get(), [this] { return today; }};
        win = std::make_unique<FrmTalk>(sv);
        win->setQuitAction([this] { ++quits; });
        win->Form_Load(home.path());
        win->show();
        QApplication::setActiveWindow(win.get());
        QCoreApplication::processEvents();
    }

    Controls &ui() { return win->controls(); }
    AppState &st() { return win->state(); }
    Talk &talk() { return win->talk(); }
    TalkBox *box() { return ui().txtTalk; }

    QString path(const QString &name) const { return home.path() + QLatin1Char('/') + name; }
    // "@fifo" makes a FIFO, "@link TARGET" a symbolic link to TARGET.
    void writeFile(const QString &name, const QByteArray &bytes) const
    {
        if (bytes == "@fifo") {
            ::mkfifo(QFile::encodeName(path(name)).constData(), 0600);
            return;
        }
        if (bytes.startsWith("@link ")) {
            QFile::link(QFile::decodeName(bytes.mid(6)), path(name));
            return;
        }
        test::writeFile(path(name), bytes);
    }
    QByteArray readFile(const QString &name) const { return test::readFile(path(name)); }

    // Puts a (dummy) sound file in the program folder for each text.
    void addVoices(const QStringList &texts) const
    {
        for (const QString &t : texts)
            writeFile(t + QStringLiteral(".wav"), QByteArrayLiteral("RIFF"));
    }
    // The texts whose sound files were played, in order.
    QStringList voiced() const
    {
        QStringList out;
        for (const QString &call : player.calls)
            if (call.startsWith(u"play "))
                out << call.mid(5 + home.path().size() + 1).chopped(4);
        return out;
    }

    // Kept for callers that name it through the fixture; see support/Touch.h.
    static void click(QWidget *w, QPoint pos = {}) { kel::click(w, pos); }

    // Shows the text with the selection as [..] and a bare caret as |:
    // "あ[い]う_", "あ|い".
    QString marked()
    {
        const QString t = box()->text();
        const qsizetype s = box()->selStart(), n = box()->selLength();
        return n == 0 ? t.left(s) + u'|' + t.mid(s) : t.left(s) + u'[' + t.mid(s, n) + u']' + t.mid(s + n);
    }
    // Sets the text and selects `len` characters from `start`.
    void setText(const QString &t, qsizetype start, qsizetype len = 0)
    {
        box()->setText(t);
        box()->setSelStart(start);
        box()->setSelLength(len);
    }

    QTemporaryDir home;
    QTemporaryDir config;
    FakeClock clock;
    RecordingPlayer player;
    RecordingPlatform platform;
    std::unique_ptr<SettingsStore> store;
    QDate today{2004, 9, 25};
    int quits = 0;
    std::unique_ptr<FrmTalk> win;
};

} // namespace kel
