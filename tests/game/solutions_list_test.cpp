// Where the example answer shows, its tooltip and description list every solution of the
// problem, numbered, in the order pelmora-solve --all prints them.
#include "game_bench.h"
#include "tools/process.h"

namespace pelmora::game::testing {
namespace {

TEST(SolutionsList, SkippedProblemListsWhatPelmoraSolveAllFinds) {
    WindowBench b;
    for (const QStringList& row : cases("solutions_list")) {  // digits skipped, target
        b.setTarget(row[1].toStdU16String().c_str());
        b.startAt(1000, row[0]);
        std::string held = b.heldDigits();
        b.click("Command5");
        auto* label = b.find<QLabel>("Label6");
        ASSERT_FALSE(label->text().isEmpty()) << held;
        auto solved = pelmora::testing::runProcess(
            {PELMORA_SOLVE_PATH, "--target", s(row[1]), held, "--all"});
        ASSERT_EQ(solved.status, 0) << held << solved.err;
        QStringList lines = QString::fromStdString(solved.out).split('\n', Qt::SkipEmptyParts);
        QString expected = q(u"この問題の答えは全部で %1 通り（探した順）").arg(lines.size());
        for (int i = 0; i < lines.size(); ++i)
            expected += QStringLiteral("\n%1. %2").arg(i + 1).arg(lines[i]);
        EXPECT_EQ(label->toolTip(), expected) << held;
        EXPECT_EQ(label->accessibleDescription(), expected) << held;
        EXPECT_TRUE(expected.contains(QStringLiteral("\n1. ") + label->text())) << held;
        b.click("Command6");
    }
}

}  // namespace
}  // namespace pelmora::game::testing
