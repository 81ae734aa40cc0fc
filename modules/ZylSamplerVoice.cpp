#include "modules/ZylSamplerVoice.h"

#include "modules/ZylSamplerSound.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <emmintrin.h>
#define ZYL_SAMPLER_VOICE_SSE2 1
// With GCC and clang an eight-sample step for processors with AVX is compiled beside the SSE2
// one and chosen at run time; other compilers keep the SSE2 step alone.
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#define ZYL_SAMPLER_VOICE_AVX 1
#endif
#endif

#include <atomic>

namespace
{
double noteFrequency(int note)
{
    return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

// Asks the cache for the frames from..to (inclusive) of one channel. A block reads a few
// kilobytes of a table megabytes long; with many voices the plain loop would wait for memory on
// almost every cache line, one line at a time. Requesting the whole range first lets the loads
// overlap.
inline void prefetchFrames(const float* channel, int from, int to) noexcept
{
#if defined(__GNUC__)
    constexpr int kFloatsPerLine = 16;
    for (int frame = from; frame <= to; frame += kFloatsPerLine)
        __builtin_prefetch(channel + frame);
    __builtin_prefetch(channel + to);
#else
    juce::ignoreUnused(channel, from, to);
#endif
}

// Samples rendered per pass of the steady loop; its scratch lives on the stack.
constexpr int kChunk = 64;

// Adds n interpolated samples to the output: the left side of sample k is left[k * step], its
// right side right[k * step]. Without levels both sides take a constant gain; with them (the
// release) sample k is scaled by the side's gain, then by levels[k]. A null right output takes
// the mean of the two sides on the left one.
template <int step>
void mix(float* toL, float* toR, const float* left, const float* right, int n,
         const float* levels, float gainL, float gainR, float sideL, float sideR) noexcept
{
    if (levels == nullptr)
    {
        if (toR != nullptr)
            for (int k = 0; k < n; ++k)
            {
                toL[k] += left[k * step] * gainL;
                toR[k] += right[k * step] * gainR;
            }
        else
            for (int k = 0; k < n; ++k)
                toL[k] += (left[k * step] * gainL + right[k * step] * gainR) * 0.5f;
        return;
    }
    if (toR != nullptr)
        for (int k = 0; k < n; ++k)
        {
            toL[k] += left[k * step] * sideL * levels[k];
            toR[k] += right[k * step] * sideR * levels[k];
        }
    else
        for (int k = 0; k < n; ++k)
            toL[k] += (left[k * step] * sideL * levels[k] + right[k * step] * sideR * levels[k])
                      * 0.5f;
}

// The release levels of up to n samples: levels[k] is the level before step k, and each step
// adds delta (negative or zero) to level in single precision, one rounding per step, as the
// single-sample step does. The sample at which the level falls to 0 or below is not rendered:
// returns the samples rendered and sets ended when that happened. level ends as the running sum
// leaves it.
//
// The sum is serial, but within one binade it is not: a float in [2^e, 2^(e+1)) is a multiple of
// its spacing u, so adding delta rounds to adding delta rounded to a multiple of u, D = r * u,
// for as long as the sums stay above 2^e. level + j * D is then exact for every j, so those
// stretches are filled without a carried sum. Only the step out of a binade (or a delta halfway
// between two multiples, where the rounding depends on the level's last bit) is summed one step
// at a time.
int releaseLevels(float& level, float delta, float* levels, int n, bool& ended) noexcept
{
    int k = 0;
    while (k < n)
    {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &level, sizeof bits);
        const std::uint32_t exponent = bits >> 23; // the sign bit is 0 for positive levels
        int stretch = 0;
        if (delta <= 0.0f && level > 0.0f && exponent > 23 && exponent < 255)
        {
            const std::uint32_t baseBits = exponent << 23;
            const std::uint32_t spacingBits = (exponent - 23) << 23;
            float base = 0.0f;
            float spacing = 0.0f;
            std::memcpy(&base, &baseBits, sizeof base);
            std::memcpy(&spacing, &spacingBits, sizeof spacing);
            const float steps = delta / spacing; // exact: a power-of-two scale
            constexpr float kLargestSteps = 4194304.0f; // 2^22
            if (steps > -kLargestSteps && steps - std::floor(steps) != 0.5f)
            {
                const float rounded = std::nearbyint(steps);
                const float stepDown = rounded * spacing;
                const auto above = static_cast<std::int32_t>((level - base) / spacing);
                const auto down = static_cast<std::int32_t>(-rounded);
                // Steps j = 1..stretch keep level + j * stepDown strictly above the base: far
                // enough above it that the exact sum does too. A level on the base itself may
                // round into the finer spacing below even when stepDown is 0.
                if (above > 0)
                    stretch = std::min(down == 0 ? n - k : (above - 1) / down, n - k);
                for (int j = 0; j < stretch; ++j)
                    levels[k + j] = level + static_cast<float>(j) * stepDown;
                level += static_cast<float>(stretch) * stepDown;
                k += stretch;
            }
        }
        if (stretch == 0 && k < n)
        {
            const float before = level;
            level += delta;
            if (level <= 0.0f)
            {
                ended = true;
                return k;
            }
            levels[k++] = before;
        }
    }
    return k;
}

#if ZYL_SAMPLER_VOICE_SSE2
// The stereo case four samples at a time, samples first..n-1 of a chunk: for sample k the read
// position is position + k * ratio, both sides of its frame and of the next come from the
// interleaved frames (two 8-byte loads), and the interpolated sides, scaled by their gains, are
// added to the two outputs; with levels (the release) each sample is scaled by levels[k] after
// its gain. Every sample takes the same operations in the same order as the scalar steps (no
// fused or reordered arithmetic), so the result is the same to the bit. Returns the index past
// the samples done, first plus n - first rounded down to a multiple of 4; the caller renders
// the rest.
//
// The products k * ratio come from offsets with fromOffsets (16-byte aligned, filled by the
// caller) and are worked out here without it: sample numbers as doubles are exact, so either
// way they are the scalar step's products.
template <bool withLevels, bool fromOffsets>
int mixStereoFramesSse2(float* toL, float* toR, const float* pairs, double position,
                        double ratio, const double* offsets, int first, int n, float gainL,
                        float gainR, const float* levels) noexcept
{
    const __m128d start = _mm_set1_pd(position);
    const __m128d step = _mm_set1_pd(ratio);
    const __m128d four = _mm_set1_pd(4.0);
    const __m128 sideL = _mm_set1_ps(gainL);
    const __m128 sideR = _mm_set1_ps(gainR);
    const int done = first + (n - first) / 4 * 4;
    __m128d index01 = _mm_set_pd(first + 1, first);
    __m128d index23 = _mm_set_pd(first + 3, first + 2);
    for (int k = first; k < done; k += 4)
    {
        __m128d at01;
        __m128d at23;
        if constexpr (fromOffsets)
        {
            at01 = _mm_add_pd(start, _mm_load_pd(offsets + k));
            at23 = _mm_add_pd(start, _mm_load_pd(offsets + k + 2));
        }
        else
        {
            at01 = _mm_add_pd(start, _mm_mul_pd(index01, step));
            at23 = _mm_add_pd(start, _mm_mul_pd(index23, step));
            index01 = _mm_add_pd(index01, four);
            index23 = _mm_add_pd(index23, four);
        }
        const __m128i frame01 = _mm_cvttpd_epi32(at01);
        const __m128i frame23 = _mm_cvttpd_epi32(at23);
        const __m128 fraction01 = _mm_cvtpd_ps(_mm_sub_pd(at01, _mm_cvtepi32_pd(frame01)));
        const __m128 fraction23 = _mm_cvtpd_ps(_mm_sub_pd(at23, _mm_cvtepi32_pd(frame23)));

        // The frame numbers of the four samples, as offsets into the pairs. Frames are never
        // negative: read as unsigned they need no sign extension.
#if defined(__x86_64__) || defined(_M_X64)
        // Two frame numbers at a time through a 64-bit register: one move out of the vector
        // unit instead of a shuffle and two moves.
        const auto low = static_cast<std::uint64_t>(_mm_cvtsi128_si64(frame01));
        const auto high = static_cast<std::uint64_t>(_mm_cvtsi128_si64(frame23));
        const std::size_t a = 2 * static_cast<std::size_t>(low & 0xffffffffu);
        const std::size_t b = 2 * static_cast<std::size_t>(low >> 32);
        const std::size_t c = 2 * static_cast<std::size_t>(high & 0xffffffffu);
        const std::size_t d = 2 * static_cast<std::size_t>(high >> 32);
#else
        const auto frameAt = [](__m128i frames, int lane) noexcept
        {
            const __m128i moved =
                lane == 0 ? frames : _mm_shuffle_epi32(frames, _MM_SHUFFLE(1, 1, 1, 1));
            return 2 * static_cast<std::size_t>(static_cast<std::uint32_t>(_mm_cvtsi128_si32(moved)));
        };
        const std::size_t a = frameAt(frame01, 0);
        const std::size_t b = frameAt(frame01, 1);
        const std::size_t c = frameAt(frame23, 0);
        const std::size_t d = frameAt(frame23, 1);
#endif
        // Samples 0 and 1, then 2 and 3, as left, right pairs: this frame, the next, the
        // fraction on both sides. Each half is one 8-byte load of a frame's two sides.
        const auto framePair = [](const float* firstFrame, const float* secondFrame) noexcept
        {
            return _mm_loadh_pi(_mm_loadl_pi(_mm_setzero_ps(), reinterpret_cast<const __m64*>(firstFrame)),
                                reinterpret_cast<const __m64*>(secondFrame));
        };
        const __m128 from01 = framePair(pairs + a, pairs + b);
        const __m128 to01 = framePair(pairs + a + 2, pairs + b + 2);
        const __m128 from23 = framePair(pairs + c, pairs + d);
        const __m128 to23 = framePair(pairs + c + 2, pairs + d + 2);
        const __m128 mixed01 =
            _mm_add_ps(from01, _mm_mul_ps(_mm_sub_ps(to01, from01), _mm_unpacklo_ps(fraction01, fraction01)));
        const __m128 mixed23 =
            _mm_add_ps(from23, _mm_mul_ps(_mm_sub_ps(to23, from23), _mm_unpacklo_ps(fraction23, fraction23)));

        const __m128 left = _mm_shuffle_ps(mixed01, mixed23, _MM_SHUFFLE(2, 0, 2, 0));
        const __m128 right = _mm_shuffle_ps(mixed01, mixed23, _MM_SHUFFLE(3, 1, 3, 1));
        __m128 scaledL = _mm_mul_ps(left, sideL);
        __m128 scaledR = _mm_mul_ps(right, sideR);
        if constexpr (withLevels)
        {
            const __m128 level = _mm_loadu_ps(levels + k);
            scaledL = _mm_mul_ps(scaledL, level);
            scaledR = _mm_mul_ps(scaledR, level);
        }
        _mm_storeu_ps(toL + k, _mm_add_ps(_mm_loadu_ps(toL + k), scaledL));
        _mm_storeu_ps(toR + k, _mm_add_ps(_mm_loadu_ps(toR + k), scaledR));
    }
    return done;
}

#if ZYL_SAMPLER_VOICE_AVX
bool processorHasAvx() noexcept
{
    // Also checks that the system saves the wide registers.
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx") != 0;
}

// Whether the eight-sample step may run: on processors with AVX, unless a test turned it off.
std::atomic<bool> avxStepAllowed { processorHasAvx() };

// The two sides of frames low and low + 1 in the lower half, those of high and high + 1 in the
// upper one.
__attribute__((target("avx"), always_inline)) inline __m256d
frameAndNextAvx(const float* pairs, std::uint32_t low, std::uint32_t high) noexcept
{
    const __m128 lower = _mm_loadu_ps(pairs + 2 * static_cast<std::size_t>(low));
    const __m128 upper = _mm_loadu_ps(pairs + 2 * static_cast<std::size_t>(high));
    return _mm256_castps_pd(_mm256_insertf128_ps(_mm256_castps128_ps256(lower), upper, 1));
}

// The stereo case eight samples at a time, with the same operations in the same order as
// mixStereoFramesSse2 (no fused arithmetic: the target adds AVX alone, not FMA), so the result
// is the same to the bit. Each sample's frame and the next are one 16-byte load of the
// interleaved frames (left, right, next left, next right). Arguments and result as for
// mixStereoFramesSse2 without offsets, in steps of 8. The products k * ratio are worked out
// here: read from a table of 8-byte or 16-byte stores made just before, each 32-byte load
// would wait for the stores to reach the cache, which in small blocks cost more than the whole
// step.
template <bool withLevels>
__attribute__((target("avx"))) int mixStereoFramesAvx(float* toL, float* toR,
                                                      const float* pairs, double position,
                                                      double ratio, int first, int n,
                                                      float gainL, float gainR,
                                                      const float* levels) noexcept
{
    const __m256d start = _mm256_set1_pd(position);
    const __m256d step = _mm256_set1_pd(ratio);
    const __m256d eight = _mm256_set1_pd(8.0);
    const __m256 sideL = _mm256_set1_ps(gainL);
    const __m256 sideR = _mm256_set1_ps(gainR);
    const int done = first + (n - first) / 8 * 8;
    __m256d index0123 = _mm256_set_pd(first + 3, first + 2, first + 1, first);
    __m256d index4567 = _mm256_set_pd(first + 7, first + 6, first + 5, first + 4);
    alignas(16) std::uint32_t frames[8];
    for (int k = first; k < done; k += 8)
    {
        const __m256d at0123 = _mm256_add_pd(start, _mm256_mul_pd(index0123, step));
        const __m256d at4567 = _mm256_add_pd(start, _mm256_mul_pd(index4567, step));
        index0123 = _mm256_add_pd(index0123, eight);
        index4567 = _mm256_add_pd(index4567, eight);
        const __m128i frame0123 = _mm256_cvttpd_epi32(at0123);
        const __m128i frame4567 = _mm256_cvttpd_epi32(at4567);
        const __m128 fraction0123 =
            _mm256_cvtpd_ps(_mm256_sub_pd(at0123, _mm256_cvtepi32_pd(frame0123)));
        const __m128 fraction4567 =
            _mm256_cvtpd_ps(_mm256_sub_pd(at4567, _mm256_cvtepi32_pd(frame4567)));
        // Frames are never negative: read as unsigned they need no sign extension.
        _mm_store_si128(reinterpret_cast<__m128i*>(frames), frame0123);
        _mm_store_si128(reinterpret_cast<__m128i*>(frames + 4), frame4567);

        // Samples j and j + 4 share a register, one in each half: [frame, next | frame, next].
        const __m256d s04 = frameAndNextAvx(pairs, frames[0], frames[4]);
        const __m256d s15 = frameAndNextAvx(pairs, frames[1], frames[5]);
        const __m256d s26 = frameAndNextAvx(pairs, frames[2], frames[6]);
        const __m256d s37 = frameAndNextAvx(pairs, frames[3], frames[7]);
        // Left, right pairs of samples 0, 1 | 4, 5 and 2, 3 | 6, 7: this frame and the next.
        const __m256 from0145 = _mm256_castpd_ps(_mm256_unpacklo_pd(s04, s15));
        const __m256 to0145 = _mm256_castpd_ps(_mm256_unpackhi_pd(s04, s15));
        const __m256 from2367 = _mm256_castpd_ps(_mm256_unpacklo_pd(s26, s37));
        const __m256 to2367 = _mm256_castpd_ps(_mm256_unpackhi_pd(s26, s37));
        const __m256 fractions =
            _mm256_insertf128_ps(_mm256_castps128_ps256(fraction0123), fraction4567, 1);
        const __m256 mixed0145 = _mm256_add_ps(
            from0145, _mm256_mul_ps(_mm256_sub_ps(to0145, from0145), _mm256_unpacklo_ps(fractions, fractions)));
        const __m256 mixed2367 = _mm256_add_ps(
            from2367, _mm256_mul_ps(_mm256_sub_ps(to2367, from2367), _mm256_unpackhi_ps(fractions, fractions)));

        const __m256 left = _mm256_shuffle_ps(mixed0145, mixed2367, _MM_SHUFFLE(2, 0, 2, 0));
        const __m256 right = _mm256_shuffle_ps(mixed0145, mixed2367, _MM_SHUFFLE(3, 1, 3, 1));
        __m256 scaledL = _mm256_mul_ps(left, sideL);
        __m256 scaledR = _mm256_mul_ps(right, sideR);
        if constexpr (withLevels)
        {
            const __m256 level = _mm256_loadu_ps(levels + k);
            scaledL = _mm256_mul_ps(scaledL, level);
            scaledR = _mm256_mul_ps(scaledR, level);
        }
        _mm256_storeu_ps(toL + k, _mm256_add_ps(_mm256_loadu_ps(toL + k), scaledL));
        _mm256_storeu_ps(toR + k, _mm256_add_ps(_mm256_loadu_ps(toR + k), scaledR));
    }
    return done;
}
#endif

// Whether the stereo case runs eight samples at a time now.
bool wideStepRuns() noexcept
{
#if ZYL_SAMPLER_VOICE_AVX
    return avxStepAllowed.load(std::memory_order_relaxed);
#else
    return false;
#endif
}

// The stereo case of samples 0..n-1 of a chunk through the widest vector step the processor
// has: eight samples at a time with AVX (wide), then four with SSE2; the four-sample step alone
// reads the products k * ratio from offsets when there are any. Steady samples take the gains alone, releasing
// ones (levels not null) the gains, then levels[k]. Returns the samples done, n rounded down to
// a multiple of 4.
template <bool withLevels>
int mixStereoFrames(bool wide, float* toL, float* toR, const float* pairs, double position,
                    double ratio, const double* offsets, int n, float gainL, float gainR,
                    const float* levels) noexcept
{
#if ZYL_SAMPLER_VOICE_AVX
    if (wide)
    {
        const int done = mixStereoFramesAvx<withLevels>(toL, toR, pairs, position, ratio, 0, n,
                                                        gainL, gainR, levels);
        if (n - done < 4)
            return done;
        return mixStereoFramesSse2<withLevels, false>(toL, toR, pairs, position, ratio, nullptr,
                                                      done, n, gainL, gainR, levels);
    }
#else
    juce::ignoreUnused(wide);
#endif
    if (offsets == nullptr)
        return mixStereoFramesSse2<withLevels, false>(toL, toR, pairs, position, ratio, nullptr, 0,
                                                      n, gainL, gainR, levels);
    return mixStereoFramesSse2<withLevels, true>(toL, toR, pairs, position, ratio, offsets, 0, n,
                                                 gainL, gainR, levels);
}
#endif
} // namespace

bool ZylSamplerVoice::setWideVectorStepAllowed(bool allowed) noexcept
{
#if ZYL_SAMPLER_VOICE_AVX
    if (!processorHasAvx())
        return false;
    avxStepAllowed.store(allowed, std::memory_order_relaxed);
    return allowed;
#else
    juce::ignoreUnused(allowed);
    return false;
#endif
}

ZylSamplerVoice::ZylSamplerVoice() = default;
ZylSamplerVoice::~ZylSamplerVoice() = default;

bool ZylSamplerVoice::canPlaySound(juce::SynthesiserSound* sound)
{
    return dynamic_cast<const ZylSamplerSound*>(sound) != nullptr;
}

void ZylSamplerVoice::startNote(int midiNoteNumber, float velocity, juce::SynthesiserSound* s,
                                int /*currentPitchWheelPosition*/)
{
    auto* sound = dynamic_cast<const ZylSamplerSound*>(s);
    if (sound == nullptr)
        return;
    if (sound->isEmpty() || !(getSampleRate() > 0.0))
    {
        clearCurrentNote();
        return;
    }

    pitchRatio = noteFrequency(midiNoteNumber) * sound->getSourceSampleRate()
                 / (noteFrequency(sound->getMidiRootNote()) * getSampleRate());
    sourceSamplePosition = 0.0;
    lgain = velocity;
    rgain = velocity;
    isInRelease = false;

    if (sound->getAttackSamples() > 0)
    {
        isInAttack = true;
        attackReleaseLevel = 0.0f;
        attackDelta = static_cast<float>(pitchRatio / sound->getAttackSamples());
    }
    else
    {
        isInAttack = false;
        attackReleaseLevel = 1.0f;
        attackDelta = 0.0f;
    }

    releaseDelta = sound->getReleaseSamples() > 0
                       ? static_cast<float>(-pitchRatio / sound->getReleaseSamples())
                       : 0.0f;
}

void ZylSamplerVoice::stopNote(float /*velocity*/, bool allowTailOff)
{
    if (allowTailOff)
    {
        auto* sound = dynamic_cast<const ZylSamplerSound*>(getCurrentlyPlayingSound().get());
        if (sound == nullptr || !(sound->isLooped() && sound->getReleaseSamples() <= 0))
        {
            isInAttack = false;
            isInRelease = true;
            return;
        }
    }
    clearCurrentNote();
    isInAttack = false;
    isInRelease = false;
}

void ZylSamplerVoice::pitchWheelMoved(int /*newPitchWheelValue*/)
{
}

void ZylSamplerVoice::controllerMoved(int /*controllerNumber*/, int /*newControllerValue*/)
{
}

void ZylSamplerVoice::renderNextBlock(juce::AudioSampleBuffer& output, int startSample,
                                      int numSamples)
{
    auto* playing = getCurrentlyPlayingSound().get();
    if (playing == nullptr || output.getNumChannels() <= 0 || numSamples <= 0)
        return;
    // canPlaySound let only sampler sounds in; startNote refused empty ones.
    const auto& sound = static_cast<const ZylSamplerSound&>(*playing);
    const bool stereoIn = sound.getAudioData()->getNumChannels() > 1;
    const bool stereoOut = output.getNumChannels() > 1;
    if (stereoIn)
    {
        if (stereoOut)
            render<true, true>(sound, output, startSample, numSamples);
        else
            render<true, false>(sound, output, startSample, numSamples);
    }
    else
    {
        if (stereoOut)
            render<false, true>(sound, output, startSample, numSamples);
        else
            render<false, false>(sound, output, startSample, numSamples);
    }
}

template <bool stereoIn, bool stereoOut>
void ZylSamplerVoice::render(const ZylSamplerSound& sound, juce::AudioSampleBuffer& output,
                             int startSample, int numSamples)
{
    const auto& data = *sound.getAudioData();
    const float* const inL = data.getReadPointer(0);
    const float* const inR = stereoIn ? data.getReadPointer(1) : inL;
    float* const outL = output.getWritePointer(0, startSample);
    float* const outR = stereoOut ? output.getWritePointer(1, startSample) : nullptr;

    // The state lives in locals while the block runs: the output stores could otherwise alias
    // the members and force them through memory on every sample.
    const double length = sound.getLength();
    const bool looped = sound.isLooped();
    const double ratio = pitchRatio;
    const float leftGain = lgain;
    const float rightGain = rgain;
    double position = sourceSamplePosition;
    float level = attackReleaseLevel;
    bool attack = isInAttack;
    bool release = isInRelease;
    bool stopped = false;

    // A stereo sound is read from its interleaved frames: one place holds both sides.
    const float* const pairs = stereoIn ? sound.getInterleavedFrames() : nullptr;
    const auto prefetch = [&](int from, int to)
    {
        if (pairs != nullptr)
            prefetchFrames(pairs, 2 * from, 2 * to + 1);
        else
        {
            prefetchFrames(inL, from, to);
            if (stereoIn)
                prefetchFrames(inR, from, to);
        }
    };
    // A voice pitched far above its root skips most lines of its range; it is not worth asking
    // for them all.
    constexpr double kPrefetchRatioLimit = 4.0;
    if (ratio <= kPrefetchRatioLimit)
    {
        // The frames this block can read: from the current one to the one past the last step,
        // wrapped once for a looped sound, never past the guard frames.
        const int lastFrame = static_cast<int>(length) + ZylSamplerSound::kGuardFrames - 1;
        const int first = std::min(static_cast<int>(position), lastFrame);
        const double reach = position + ratio * numSamples + 1.0;
        prefetch(first, static_cast<int>(std::min(reach, static_cast<double>(lastFrame))));
        if (looped && reach > length)
            prefetch(0, static_cast<int>(std::min(reach - length, static_cast<double>(lastFrame))));
    }

#if ZYL_SAMPLER_VOICE_SSE2
    // k * ratio for the samples k of a chunk, for the four-sample step when it runs alone, filled
    // when it first runs. The eight-sample step works them out itself.
    const bool wide = wideStepRuns();
    alignas(16) double offsets[kChunk];
    bool offsetsFilled = false;
    const auto offsetsForStep = [&]() noexcept -> const double*
    {
        if (wide)
            return nullptr;
        if (!offsetsFilled)
        {
            for (int k = 0; k < kChunk; ++k)
                offsets[k] = static_cast<double>(k) * ratio;
            offsetsFilled = true;
        }
        return offsets;
    };
#endif

    int i = 0;
    while (i < numSamples)
    {
        // Steady level or release: render up to the loop point or the end without wrap tests.
        // The position stays below length (looped) or at most at length (one-shot) while it is
        // read, as in the general step below.
        if (!attack)
        {
            const double room = (length - position) / ratio;
            int run = numSamples - i;
            if (room < run)
                run = std::max(0, static_cast<int>(room) - 1);
            const float gainL = leftGain * level;
            const float gainR = rightGain * level;
#if ZYL_SAMPLER_VOICE_SSE2
            // Whole chunks of the steady stereo case go to the vector step one after the other,
            // the position moving by a chunk's steps after each, as in the loop below.
            if (stereoIn && stereoOut && pairs != nullptr && !release && run >= kChunk)
            {
                const double* const stepOffsets = offsetsForStep();
                for (; run >= kChunk; run -= kChunk, i += kChunk)
                {
                    mixStereoFrames<false>(wide, outL + i, outR + i, pairs, position, ratio,
                                           stepOffsets, kChunk, gainL, gainR, nullptr);
                    position += static_cast<double>(kChunk) * ratio;
                }
            }
#endif
            while (run > 0)
            {
                // In chunks: the release levels (the single step's running sum), the read
                // positions (no carried sum, so the compiler can vectorise them),
                // the reads and interpolation, then the mix into the output.
                int n = std::min(run, kChunk);
                float levels[kChunk];
                if (release)
                    n = releaseLevels(level, releaseDelta, levels, n, stopped);
                // Samples of the chunk done by the vector step; the steps below do the rest.
                int done = 0;
#if ZYL_SAMPLER_VOICE_SSE2
                if (stereoIn && stereoOut && pairs != nullptr && n >= 4)
                {
                    const double* const stepOffsets = offsetsForStep();
                    done = release
                               ? mixStereoFrames<true>(wide, outL + i, outR + i, pairs, position,
                                                       ratio, stepOffsets, n, leftGain,
                                                       rightGain, levels)
                               : mixStereoFrames<false>(wide, outL + i, outR + i, pairs, position,
                                                        ratio, stepOffsets, n, gainL, gainR,
                                                        nullptr);
                }
#endif
                int frame[kChunk];
                float fraction[kChunk];
                float mixed[2 * kChunk];
                for (int k = done; k < n; ++k)
                {
                    const double at = position + static_cast<double>(k) * ratio;
                    const int pos = static_cast<int>(at);
                    frame[k] = pos;
                    fraction[k] = static_cast<float>(at - pos);
                }
                float* const toL = outL + i + done;
                float* const toR = stereoOut ? outR + i + done : nullptr;
                const float* const levelsOrNull = release ? levels + done : nullptr;
                const int rest = n - done;
                if (stereoIn && pairs != nullptr)
                {
                    // mixed holds left, right pairs.
                    for (int k = done; k < n; ++k)
                    {
                        const float* const f = pairs + 2 * frame[k];
                        const float alpha = fraction[k];
                        mixed[2 * k] = f[0] + (f[2] - f[0]) * alpha;
                        mixed[2 * k + 1] = f[1] + (f[3] - f[1]) * alpha;
                    }
                    mix<2>(toL, toR, mixed + 2 * done, mixed + 2 * done + 1, rest, levelsOrNull,
                           gainL, gainR, leftGain, rightGain);
                }
                else
                {
                    // mixed holds the left side, then (stereo) the right one.
                    for (int k = done; k < n; ++k)
                    {
                        const float* const l = inL + frame[k];
                        mixed[k] = l[0] + (l[1] - l[0]) * fraction[k];
                    }
                    if (stereoIn)
                        for (int k = done; k < n; ++k)
                        {
                            const float* const r = inR + frame[k];
                            mixed[kChunk + k] = r[0] + (r[1] - r[0]) * fraction[k];
                        }
                    mix<1>(toL, toR, mixed + done, (stereoIn ? mixed + kChunk : mixed) + done,
                           rest, levelsOrNull, gainL, gainR, leftGain, rightGain);
                }
                position += static_cast<double>(n) * ratio;
                i += n;
                run -= n;
                if (stopped)
                    break;
            }
            if (stopped || i >= numSamples)
                break;
        }

        const int pos = static_cast<int>(position);
        const float alpha = static_cast<float>(position - pos);
        float l = inL[pos] + (inL[pos + 1] - inL[pos]) * alpha;
        float r = stereoIn ? inR[pos] + (inR[pos + 1] - inR[pos]) * alpha : l;
        l *= leftGain;
        r *= rightGain;

        if (attack)
        {
            l *= level;
            r *= level;
            level += attackDelta;
            if (level >= 1.0f)
            {
                level = 1.0f;
                attack = false;
            }
        }
        else if (release)
        {
            const float before = level;
            level += releaseDelta;
            if (level <= 0.0f)
            {
                stopped = true;
                break;
            }
            l *= before;
            r *= before;
        }

        if (stereoOut)
        {
            outL[i] += l;
            outR[i] += r;
        }
        else
        {
            outL[i] += (l + r) * 0.5f;
        }

        position += ratio;
        ++i;
        if (looped)
        {
            if (position >= length)
            {
                position -= length;
                if (position >= length)
                    position = std::fmod(position, length);
            }
        }
        else if (position > length)
        {
            stopped = true;
            break;
        }
    }

    sourceSamplePosition = position;
    attackReleaseLevel = level;
    isInAttack = attack;
    isInRelease = release;
    if (stopped)
        stopNote(0.0f, false);
}
