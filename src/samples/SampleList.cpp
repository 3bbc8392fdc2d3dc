// Talk.txt through the example list: LoadSamples, SaveSamples, ListSamples.

#include "samples/SampleScreens.h"

#include "base/AnsiText.h"
#include "base/TextFileIO.h"
#include "diary/DiaryFile.h"
#include "frame/FrmOK.h"
#include "samples/KanaLabels.h"
#include "samples/SampleFile.h"
#include "samples/SampleTexts.h"
#include "widgets/FlexGrid.h"

#include <QFileInfo>
#include <algorithm>

namespace kel {
namespace {

struct FileSentences {
    QStringList sentences;    // the kept lines, in file order
    ListFileText asRead;
};

// What Talk.txt holds; a missing file is created first.
FileSentences readSampleFile(const QString &path, const QString &diaryPath)
{
    ListFileText file = readListFile(path);
    if (file.status == ListFileText::Missing) {
        // Neither file yet: a new installation, which starts with sentences
        // that make the list and the suggestions useful at once. Without
        // Talk.txt but with a diary the user removed the sentences on purpose.
        const bool fresh = !QFileInfo::exists(diaryPath);
        const QStringList start = fresh ? freshSampleSentences() : QStringList{kPlaceholder};
        // Should the folder refuse the file, the list still shows these, and
        // the first addition tells the user that nothing could be stored.
        OutsideChange outside;
        storeListFile(path, file, encodeSamples(start), &outside);
        // Another copy made the file meanwhile: the list holds its lines too.
        if (outside.kind == OutsideChange::Merged)
            return {parseSamples(file.text), file};
        return {start, file};
    }
    return {parseSamples(file.text), std::move(file)};
}

bool isDiaryCell(const QString &cell)
{
    const QString trimmed = trimSpaces(cell);
    return trimmed == kPlaceholder || trimmed == kDiaryCell || trimmed == kMemoCell;
}

} // namespace

void SampleScreens::LoadSamples()
{
    FileSentences file = readSampleFile(t_.dataFile(kSampleFileName), t_.dataFile(kDiaryFileName));
    asRead_ = file.asRead;
    // What suggestions offer: the diary's row is kept in Talk.txt as a line
    // that begins with "あ", the list's way to the diary, never something to say.
    QStringList offered = file.sentences;
    offered.removeAll(kPlaceholder);
    t_.st.Samples = offered.isEmpty() ? QStringList{QString()} : offered;

    // The list's first row opens the diary, so it must exist even when the
    // file lost its placeholder line; the next save writes it back.
    QStringList rows = std::move(file.sentences);
    if (lacksPlaceholder(rows))
        rows.prepend(kPlaceholder);
    fillGrid(rows);
}

bool SampleScreens::SaveSamples(int typedRow)
{
    QStringList cells = sentenceCells();
    if (!cells.isEmpty())
        t_.st.CellText = cells.last();
    const qsizetype stored = firstUnencodableStoredLine(cells, typedRow);
    if (stored >= 0) {
        AskUser(t_, askReplaceUnencodable(cells.at(stored)), kAskYesNo, kTitleAdd);
        if (!t_.st.AskAnswer)
            return false; // the file stays as it is
        for (int r = 0; r < int(cells.size()); ++r) {
            if (r == typedRow)
                continue;
            cells[r] = replaceUnencodable(cells.at(r));
            t_.ui.grdEx->setTextMatrix(r, 1, cells.at(r));
        }
    }
    if (std::none_of(cells.cbegin(), cells.cend(), isDiaryCell))
        cells.prepend(kPlaceholder);

    OutsideChange outside;
    const std::optional<StoreProblem> problem =
        storeListFile(t_.dataFile(kSampleFileName), asRead_, encodeSamples(cells), &outside);
    if (!problem) {
        if (outside.kind == OutsideChange::Merged) {
            // The list shows what the file now holds, the other program's
            // lines too, so that the next store keeps them.
            const int row = t_.st.ListRow;
            LoadSamples();
            ListSamples();
            t_.ui.grdEx->setTextMatrix(0, 1, kDiaryCell);
            highlightRow(std::clamp(row, 0, t_.ui.grdEx->Rows() - 1));
        }
        if (outside.kind != OutsideChange::None)
            notice(outsideChangeNotice(kSampleFileName, outside));
        return true;
    }
    // An emoji pasted into the text cannot be written without turning it
    // into garbage, so then nothing is written at all.
    notice(noticeFor(*problem, {kNoticeFileUnreadable, kNoticeSaveFailed}));
    return false;
}

void SampleScreens::ListSamples()
{
    FlexGrid &g = *t_.ui.grdEx;
    const QStringList sentences = sentenceCells();
    const std::vector<int> order = sampleOrder(sentences);
    QStringList sorted;
    sorted.reserve(sentences.size());
    for (int row : order)
        sorted.append(sentences.at(row));
    const QStringList labels = runLabels(sorted);

    g.setRedraw(false);
    g.reorderRows(order);
    for (int r = 0; r < int(labels.size()); ++r)
        g.setTextMatrix(r, 0, labels.at(r));
    g.setRedraw(true);
    if (!sorted.isEmpty())
        t_.st.CellText = sorted.last();
}

QString SampleScreens::sentenceCell(int row) const
{
    return t_.ui.grdEx->TextMatrix(row, 1);
}

QStringList SampleScreens::sentenceCells() const
{
    const int rows = t_.ui.grdEx->Rows();
    QStringList cells;
    cells.reserve(rows);
    for (int r = 0; r < rows; ++r)
        cells.append(sentenceCell(r));
    return cells;
}

void SampleScreens::fillGrid(const QStringList &sentences)
{
    FlexGrid &g = *t_.ui.grdEx;
    g.setRedraw(false);
    g.setRows(0); // drops every text, label and highlight of the last build
    g.setCols(2);
    g.setRows(int(sentences.size()));
    for (int r = 0; r < int(sentences.size()); ++r)
        g.setTextMatrix(r, 1, sentences.at(r));
    g.setRedraw(true);
}

void SampleScreens::notice(const QString &message)
{
    AskUser(t_, message, kAskNotice, kTitleAdd);
}

} // namespace kel
