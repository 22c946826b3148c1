#include "audio/AudioFile.h"

#include <sys/stat.h>

#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "audio/PeakResampler.h"
#include "tests/support/TempDir.h"
#include "tests/support/WavFile.h"

namespace {

using Testing::WavBytes;

std::vector<float> Noise(std::size_t count, unsigned seed) {
    std::vector<float> v(count);
    for (std::size_t i = 0; i < count; ++i) {
        seed = seed * 1103515245u + 12345u;
        v[i] = static_cast<float>((seed >> 8) % 2001) / 1000.0f - 1.0f;
    }
    return v;
}

class AudioFileTest : public ::testing::Test {
protected:
    std::string Wav(const std::string& name, int rate, int channels,
                    const std::vector<float>& samples) {
        return dir.Write(name, WavBytes(rate, channels, samples)).string();
    }
    Testing::TempDir dir;
};

TEST_F(AudioFileTest, MonoAtTheTargetRateIsTakenSampleForSample) {
    std::vector<float> samples = Noise(3000, 1);
    std::vector<float> out;
    EXPECT_EQ(LoadAudioFile(Wav("a.wav", 44100, 1, samples), out, 500.0f, 44100), 22050);
    EXPECT_EQ(out, samples);
}

TEST_F(AudioFileTest, StereoFoldsToTheStrongerChannelTheRightOneOnATie) {
    std::vector<float> out;
    LoadAudioFile(Wav("s.wav", 44100, 2, {0.5f, -0.7f, -0.9f, 0.2f, 0.25f, -0.25f}), out, 100,
                  44100);
    EXPECT_EQ(out, (std::vector<float>{-0.7f, -0.9f, -0.25f}));
}

TEST_F(AudioFileTest, StretchingDrawsStraightLinesBetweenTheSourceSamples) {
    std::vector<float> samples = Noise(1000, 2);
    std::vector<float> out;
    LoadAudioFile(Wav("u.wav", 22050, 1, samples), out, 1000, 44100);
    ASSERT_EQ(out.size(), 2000u);
    // Source sample k lands near k * 1999 / 1000; the samples between are on the line.
    double position = 0.0;
    for (std::size_t k = 0; k + 1 < samples.size(); ++k, position += 1.999) {
        std::size_t at = static_cast<std::size_t>(std::lround(position));
        std::size_t next = static_cast<std::size_t>(std::lround(position + 1.999));
        ASSERT_EQ(out[at], samples[k]) << k;
        for (std::size_t j = at + 1; j < next; ++j)
            ASSERT_NEAR(out[j],
                        samples[k] + (samples[k + 1] - samples[k]) * static_cast<float>(j - at) /
                                         (next - at),
                        1e-6)
                << j;
    }
}

TEST_F(AudioFileTest, ShrinkingKeepsTheStrongestSampleOfEachGroup) {
    std::vector<float> samples(4800, 0.01f);
    samples[1000] = -0.9f;  // a click peak that a filter or a mean would flatten
    samples[1001] = 0.3f;
    std::vector<float> out;
    LoadAudioFile(Wav("d.wav", 48000, 1, samples), out, 1000, 44100);
    ASSERT_EQ(out.size(), 4410u);
    std::size_t peak = 0;
    for (std::size_t i = 0; i < out.size(); ++i)
        if (std::fabs(out[i]) > std::fabs(out[peak])) peak = i;
    EXPECT_EQ(out[peak], -0.9f);
    EXPECT_NEAR(static_cast<double>(peak), 1000.0 * 4409 / 4800, 1.0);
    // Every sample is a source sample; the very last is never reached and stays silent.
    for (std::size_t i = 0; i + 1 < out.size(); ++i)
        ASSERT_TRUE(out[i] == 0.01f || out[i] == -0.9f) << i << " " << out[i];
}

TEST_F(AudioFileTest, TheResultIsCutToTheLimitWhichIsAlwaysReturned) {
    std::vector<float> out;
    EXPECT_EQ(LoadAudioFile(Wav("long.wav", 44100, 1, Noise(88200, 3)), out, 500, 44100), 22050);
    EXPECT_EQ(out.size(), 22050u);
    EXPECT_EQ(LoadAudioFile(Wav("short.wav", 44100, 1, Noise(4410, 4)), out, 500, 44100), 22050);
    EXPECT_EQ(out.size(), 4410u);
    EXPECT_EQ(LoadAudioFile(Wav("empty.wav", 44100, 1, {}), out, 500, 44100), 22050);
    EXPECT_TRUE(out.empty());
}

TEST_F(AudioFileTest, UnreadableFilesReturnZeroAndLeaveTheOutputAlone) {
    const std::vector<float> before = {0.25f, 0.5f};
    std::vector<float> out = before;
    EXPECT_EQ(LoadAudioFile((dir.Path() / "missing.wav").string(), out, 500, 44100), 0);
    EXPECT_EQ(LoadAudioFile(dir.Write("zero.wav", "").string(), out, 500, 44100), 0);
    EXPECT_EQ(
        LoadAudioFile(dir.Write("text.wav", "this is not a sound\n").string(), out, 500, 44100), 0);
    EXPECT_EQ(LoadAudioFile(dir.Path().string(), out, 500, 44100), 0);
    // A rate of a few hertz would resample a tiny file into gigabytes.
    EXPECT_EQ(LoadAudioFile(Wav("slow.wav", 2, 1, Noise(100, 6)), out, 500, 44100), 0);
    // Opening a FIFO would block for ever.
    std::string fifo = (dir.Path() / "fifo.wav").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(LoadAudioFile(fifo, out, 500, 44100), 0);
    EXPECT_EQ(out, before);

    // A header that promises more than the file holds gives what is there.
    std::vector<float> samples = Noise(1000, 5);
    std::string truncated = WavBytes(44100, 1, samples, 100000);
    EXPECT_EQ(LoadAudioFile(dir.Write("cut.wav", truncated).string(), out, 500, 44100), 22050);
    EXPECT_LE(out.size(), samples.size());
    EXPECT_TRUE(std::equal(out.begin(), out.end(), samples.begin()));
}

TEST(PeakResamplerTest, WithoutInterpolationGapsRepeatTheNextValue) {
    std::vector<float> source = {1.0f, -2.0f, 3.0f};
    std::vector<float> wide(7, 0.0f);
    PeakKeepingResample(source, wide, false);
    // step 2: samples land on 0, 2, 4; the gaps take the value after them.
    EXPECT_EQ(wide, (std::vector<float>{1.0f, -2.0f, -2.0f, 3.0f, 3.0f, 0.0f, 0.0f}));
    std::vector<float> wider(10, 0.0f);
    PeakKeepingResample(source, wider, false);
    EXPECT_EQ(wider, (std::vector<float>{1.0f, -2.0f, -2.0f, -2.0f, 3.0f, 3.0f, 3.0f, 0, 0, 0}));
    std::vector<float> same(3, 0.0f);
    PeakKeepingResample(source, same, false);
    EXPECT_EQ(same, source);
    std::vector<float> none;
    PeakKeepingResample(source, none, true);
    EXPECT_TRUE(none.empty());
}

}  // namespace
