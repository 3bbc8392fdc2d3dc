#include "reading/Dictionary.h"

#include <cstdio>

namespace kel {

Dictionary &Dictionary::shared()
{
    static Dictionary dictionary;
    return dictionary;
}

Dictionary::~Dictionary()
{
    if (loader_.joinable())
        loader_.join();
}

void Dictionary::load()
{
    std::call_once(started_, [this] {
        loader_ = std::thread([this] {
            QString why;
            analyser_ = Analyser::open(&why);
            if (!analyser_) {
                problem_ = QStringLiteral("kelvoran: 漢字の読みの辞書 (MeCab と mecab-ipadic-utf8) を開けないため、"
                                          "漢字は読み上げません: %1").arg(why);
                std::fprintf(stderr, "%s\n", problem_.toLocal8Bit().constData());
            }
            ready_.store(true, std::memory_order_release);
        });
    });
}

void Dictionary::waitUntilReady()
{
    load();
    if (loader_.joinable())
        loader_.join();
}

} // namespace kel
