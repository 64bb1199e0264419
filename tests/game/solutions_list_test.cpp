// Where the example answer shows, its tooltip and description list every solution of the
// problem, numbered, in the order pelmora-solve --all prints them.
#include "game_bench.h"
#include "tools/process.h"

namespace pelmora::game::testing {
namespace {

TEST(SolutionsList, SkippedProblemListsWhatPelmoraSolveAllFinds) {
    const struct {
        std::initializer_list<int> digits;  // of the skipped problem
        const char16_t* target;
    } rows[] = {{{3, 1, 9, 2}, u"10"},
                {{5, 5, 5, 5}, u"10"},
                {{4, 6, 1, 1}, u"２４"},
                {{9, 9, 9, 9}, u"1"}};
    WindowBench b;
    for (const auto& [digits, target] : rows) {
        b.setTarget(target);
        b.startAt(1000, digits);
        std::string held = b.heldDigits();
        b.click("Command5");
        auto* label = b.find<QLabel>("Label6");
        ASSERT_FALSE(label->text().isEmpty()) << held;
        auto solved =
            pelmora::testing::runProcess({PELMORA_SOLVE_PATH, "--target",
                                          QString::fromUtf16(target).toStdString(), held, "--all"});
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
