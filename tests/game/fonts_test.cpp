// Every caption and symbol of the window has a glyph in the font that draws it, whichever
// Japanese gothic font the desktop has. CTest also runs this with only Noto Sans CJK JP.
#include "game_bench.h"

#include "game/window/fonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QRawFont>

namespace pelmora::game {
namespace {

TEST(Fonts, EveryCaptionAndSymbolHasAGlyph) {
    testing::WindowBench b;
    b.step(100, 'S', "3192");
    b.step(100, 'N', "1234");  // the example answer shows too
    int characters = 0;
    for (QWidget* widget : b.window->findChildren<QWidget*>()) {
        const QRawFont font = QRawFont::fromFont(widget->font(), QFontDatabase::Japanese);
        QString text = widget->property("text").toString();  // labels, buttons and boxes
        if (auto* combo = qobject_cast<QComboBox*>(widget))
            for (int i = 0; i < combo->count(); ++i) text += combo->itemText(i);
        for (QChar c : text) {
            if (c.isSpace()) continue;
            EXPECT_TRUE(font.supportsCharacter(c))
                << widget->objectName().toStdString() << " " << QString(c).toStdString() << " in "
                << font.familyName().toStdString();
            ++characters;
        }
    }
    EXPECT_GE(characters, 60);
    if (qEnvironmentVariableIsSet("PELMORA_EXPECTED_FONT")) {
        EXPECT_EQ(QRawFont::fromFont(QFont(gothicFamily())).familyName().toLower(),
                  qEnvironmentVariable("PELMORA_EXPECTED_FONT").toLower());
    }
}

TEST(Fonts, WithoutAJapaneseFontTheGameSaysSoOnStandardError) {
    QTemporaryDir dir;
    QFile config(dir.filePath("fonts.conf"));
    ASSERT_TRUE(config.open(QIODevice::WriteOnly));
    config.write(QStringLiteral("<fontconfig><dir>%1</dir><cachedir>%1</cachedir></fontconfig>")
                     .arg(dir.path())
                     .toUtf8());
    config.close();
    QProcess game;
    game.setReadChannel(QProcess::StandardError);
    testing::startGame(game, {{"FONTCONFIG_FILE", config.fileName()}});
    QByteArray said;
    while (!said.contains("fonts-ipafont-gothic") && game.waitForReadyRead(10000))
        said += game.readAllStandardError();
    game.kill();
    game.waitForFinished(5000);
    EXPECT_TRUE(said.contains("no Japanese font is installed")) << said.toStdString();
}

}  // namespace
}  // namespace pelmora::game
