// The alarm sounds: the program's own sounds are built in and are WAV files
// Qt Multimedia can read; playing never fails loudly, with or without audio.
#include "tracker/CTrackerSound.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSoundEffect>
#include <QTest>
#include <QUrl>

namespace {

TEST(CTrackerSoundTest, EveryAlarmHasABuiltInWaveSound)
{
    for (const TrackerAlarm alarm : {TrackerAlarm::Hands, TrackerAlarm::TakeProfit,
                                     TrackerAlarm::StopLoss, TrackerAlarm::Time}) {
        const QString url = CTrackerSound::BuiltInSound(alarm);
        ASSERT_TRUE(url.startsWith(QStringLiteral("qrc:"))) << url.toStdString();
        QFile file(url.mid(3));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << url.toStdString();
        const QByteArray bytes = file.readAll();
        // A PCM WAV file of a short, audible length.
        EXPECT_TRUE(bytes.startsWith("RIFF"));
        EXPECT_EQ(bytes.mid(8, 4), QByteArray("WAVE"));
        EXPECT_GT(bytes.size(), 5000);
        EXPECT_LT(bytes.size(), 200000);
    }
    // The four are different sounds.
    EXPECT_NE(CTrackerSound::BuiltInSound(TrackerAlarm::TakeProfit),
              CTrackerSound::BuiltInSound(TrackerAlarm::StopLoss));
}

TEST(CTrackerSoundTest, PlayingWithOrWithoutAudioAndWithMissingFilesIsQuiet)
{
    CTrackerSound sound;
    sound.Play(TrackerAlarm::Hands, QString());
    sound.Play(TrackerAlarm::Time, QStringLiteral("/no/such/sound.wav"));
    sound.Play(TrackerAlarm::StopLoss, QStringLiteral(VX_SOURCE_DIR "/README.md"));
    QTest::qWait(50);
    SUCCEED();
}

TEST(CTrackerSoundTest, QtMultimediaReadsTheBuiltInSounds)
{
    if (!CTrackerSound::CanPlay()) {
        GTEST_SKIP() << "this machine has no audio output";
    }
    QSoundEffect effect;
    effect.setSource(QUrl(CTrackerSound::BuiltInSound(TrackerAlarm::Hands)));
    EXPECT_TRUE(QTest::qWaitFor([&] { return effect.status() != QSoundEffect::Loading; }, 3000));
    EXPECT_EQ(effect.status(), QSoundEffect::Ready);
}

}  // namespace
