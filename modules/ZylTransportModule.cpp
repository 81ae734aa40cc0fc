#include "modules/ZylTransportModule.h"

#include "framework/ZylMessageCodes.h"
#include "framework/ZylModuleContainer.h"
#include "framework/ZylParameter.h"
#include "framework/ZylParameterSet.h"
#include "modules/ZylBpmDomain.h"
#include "modules/ZylTimeSigDenominatorDomain.h"
#include "modules/ZylTimeSigNumeratorDomain.h"
#include "modules/ZylTransportDomainSet.h"
#include "modules/ZylTransportStateDomain.h"

#include <cmath>
#include <limits>

namespace
{
constexpr double kInitialBpm = 90.0;
constexpr int kInitialTimeSig = 4;
constexpr double kQuarterNotesPerWhole = 4.0;
constexpr double kSecondsPerMinute = 60.0;

using PositionInfo = juce::AudioPlayHead::CurrentPositionInfo;

// The host's position in the form the transport stores; fields the host leaves unset keep the
// defaults of CurrentPositionInfo.
PositionInfo fromHost(const juce::AudioPlayHead::PositionInfo& host)
{
    PositionInfo info;
    if (const auto signature = host.getTimeSignature())
    {
        info.timeSigNumerator = signature->numerator;
        info.timeSigDenominator = signature->denominator;
    }
    if (const auto loop = host.getLoopPoints())
    {
        info.ppqLoopStart = loop->ppqStart;
        info.ppqLoopEnd = loop->ppqEnd;
    }
    if (const auto frameRate = host.getFrameRate())
        info.frameRate = *frameRate;
    if (const auto seconds = host.getTimeInSeconds())
        info.timeInSeconds = *seconds;
    if (const auto lastBarStart = host.getPpqPositionOfLastBarStart())
        info.ppqPositionOfLastBarStart = *lastBarStart;
    if (const auto ppq = host.getPpqPosition())
        info.ppqPosition = *ppq;
    if (const auto origin = host.getEditOriginTime())
        info.editOriginTime = *origin;
    if (const auto bpm = host.getBpm())
        info.bpm = *bpm;
    if (const auto samples = host.getTimeInSamples())
        info.timeInSamples = *samples;
    info.isPlaying = host.getIsPlaying();
    info.isRecording = host.getIsRecording();
    info.isLooping = host.getIsLooping();
    return info;
}

// A position with neither a tempo nor a musical position is no host's song position: JUCE's
// own player, which runs the program on an audio device, answers with the time in samples, in
// seconds and the host time only. The transport keeps its own clock, tempo and time signature.
bool drivesTheSong(const juce::AudioPlayHead::PositionInfo& host)
{
    return host.getBpm().hasValue() || host.getPpqPosition().hasValue();
}

// A host's tempo and time signature are brought into the ranges the parameters accept, so that
// pushing them never meets a refusal: a refused number would rewind the clock and post again in
// every block while the host keeps it. 0, negative and not-a-number fall back to 120 and 4/4.
void bringIntoRange(PositionInfo& info)
{
    if (!(info.bpm > 0.0))
        info.bpm = ZylTransportModule::kFallbackBpm;
    info.bpm = juce::jlimit(static_cast<double>(ZylBpmDomain::kMinBpm),
                            static_cast<double>(ZylBpmDomain::kMaxBpm), info.bpm);

    if (info.timeSigNumerator <= 0)
        info.timeSigNumerator = ZylTransportModule::kFallbackTimeSig;
    info.timeSigNumerator = juce::jlimit(static_cast<int>(ZylTimeSigNumeratorDomain::kMinNumerator),
                                         static_cast<int>(ZylTimeSigNumeratorDomain::kMaxNumerator),
                                         info.timeSigNumerator);

    if (info.timeSigDenominator <= 0)
        info.timeSigDenominator = ZylTransportModule::kFallbackTimeSig;
    info.timeSigDenominator =
        juce::jlimit(static_cast<int>(ZylTimeSigDenominatorDomain::kMinDenominator),
                     static_cast<int>(ZylTimeSigDenominatorDomain::kMaxDenominator),
                     info.timeSigDenominator);
}

// Differs also when either is not a number.
bool differs(double a, double b)
{
    return !(a == b);
}

int toIntHeld(double x)
{
    constexpr double lowest = static_cast<double>(std::numeric_limits<int>::min());
    constexpr double highest = static_cast<double>(std::numeric_limits<int>::max());
    if (x <= lowest)
        return std::numeric_limits<int>::min();
    if (x >= highest)
        return std::numeric_limits<int>::max();
    return static_cast<int>(x);
}
} // namespace

ZylTransportModule::ZylTransportModule(ZylModuleContainer* owner) : ZylModule(owner, kModuleId, L"")
{
}

ZylTransportModule::~ZylTransportModule()
{
    stopTimer();
    if (isInitialised())
        removeParameterSink(this, false);
}

void ZylTransportModule::initialise()
{
    ZylModule::initialise();
    registerInModuleMap();
    domainSet = adoptDomainSet(std::make_unique<ZylTransportDomainSet>());

    auto* global = getGlobalParameters();
    global->createParameter(kBpmParameterId, takeInternalAutomationIndex(),
                            domainSet->getBpmDomain());
    global->createParameter(kNumeratorParameterId, takeInternalAutomationIndex(),
                            domainSet->getNumeratorDomain());
    global->createParameter(kDenominatorParameterId, takeInternalAutomationIndex(),
                            domainSet->getDenominatorDomain());
    global->buildIndex();
    getCommandParameters()->createParameter(kStateParameterId, -1, domainSet->getStateDomain());
    getCommandParameters()->buildIndex();

    getStateParameter()->setValueObject(domainSet->getStateDomain()->getArmed(),
                                        kCauseUnspecified, false, true);

    position = PositionInfo();
    position.timeSigNumerator = kInitialTimeSig;
    position.timeSigDenominator = kInitialTimeSig;
    position.bpm = kInitialBpm;
    position.isPlaying = false;
    bar = -1;
    beat = -1;
    hostPositionUsed = false;
    samplePosition = 0.0;

    setCurrentProgram(0);
    registerParameters(getContainer()->getParameterMap());
    addParameterSink(this, false);
    startTimer(kTickIntervalMs);
}

void ZylTransportModule::prepareToPlay(double rate, int /*blockSize*/)
{
    const juce::ScopedLock callbackLock(getContainer()->getCallbackLock());
    samplePosition = 0.0;
    sampleRate = rate;
    processBlock(0);
}

bool ZylTransportModule::handleMessage(void* sender, int code, int timeMs)
{
    auto* state = getStateParameter();
    if (state != nullptr && sender == state->asSender())
    {
        if (handleStateCommand(zylMessageEvent(code)))
            return true;
        return ZylModule::handleMessage(sender, code, timeMs);
    }

    if (auto* bpmParameter = getBpmParameter(); bpmParameter != nullptr && sender == bpmParameter->asSender())
    {
        takeTimingParameter(bpmParameter, &ZylTransportModule::storeBpm);
        return true;
    }
    if (auto* numerator = getNumeratorParameter(); numerator != nullptr && sender == numerator->asSender())
    {
        takeTimingParameter(numerator, &ZylTransportModule::storeNumerator);
        return true;
    }
    if (auto* denominator = getDenominatorParameter();
        denominator != nullptr && sender == denominator->asSender())
    {
        takeTimingParameter(denominator, &ZylTransportModule::storeDenominator);
        return true;
    }
    return ZylModule::handleMessage(sender, code, timeMs);
}

void ZylTransportModule::takeTimingParameter(ZylParameter* parameter,
                                             void (ZylTransportModule::*store)(float))
{
    const juce::ScopedLock callbackLock(getContainer()->getCallbackLock());
    const juce::ScopedLock parameterLock(parameter->getLock());
    (this->*store)(parameter->getValue());
    samplePosition = 0.0;
    postThroughState(kBeatChanged);
}

void ZylTransportModule::storeBpm(float value)
{
    setBpm(value);
}

void ZylTransportModule::storeNumerator(float value)
{
    setNumerator(static_cast<int>(value));
}

void ZylTransportModule::storeDenominator(float value)
{
    setDenominator(static_cast<int>(value));
}

bool ZylTransportModule::handleStateCommand(int command)
{
    if (command < kCommandTransportStart || command > kCommandTransportStop)
        return false;
    if (command != kCommandTransportStart)
        notifyRoot();

    // The clock is rewound under the callback lock: the audio thread advances it meanwhile, and
    // an unguarded double is written in two halves on 32-bit machines.
    const juce::ScopedLock callbackLock(getContainer()->getCallbackLock());
    const juce::ScopedLock stateLock(getStateParameter()->getLock());
    auto* states = domainSet->getStateDomain();
    const bool stopped = isStopped();
    const bool armed = isArmed();
    const bool playing = isPlaying();

    switch (command)
    {
    case kCommandTransportStart:
        if (stopped)
            setState(states->getArmed());
        else if (armed)
            setState(states->getPlaying());
        break;
    case kCommandTransportRestart:
        if (stopped)
        {
            setState(states->getArmed());
        }
        else if (armed || playing)
        {
            samplePosition = 0.0;
            setState(states->getPlaying());
        }
        break;
    case kCommandTransportRewind:
        if (playing)
            samplePosition = 0.0;
        break;
    case kCommandTransportStop:
        if (armed)
            setState(states->getStopped());
        else if (playing)
            setState(states->getArmed());
        break;
    default:
        break;
    }
    return true;
}

void ZylTransportModule::process(int /*numSamples*/)
{
    PositionInfo info;
    readPosition(info);
    publishPosition(info);
}

void ZylTransportModule::timerCallback()
{
    postThroughState(kTransportTick);
}

ZylTransportDomainSet* ZylTransportModule::getDomainSet() const
{
    return domainSet;
}

ZylParameter* ZylTransportModule::getBpmParameter() const
{
    return getGlobalParameters()->getParameterById(kBpmParameterId);
}

ZylParameter* ZylTransportModule::getNumeratorParameter() const
{
    return getGlobalParameters()->getParameterById(kNumeratorParameterId);
}

ZylParameter* ZylTransportModule::getDenominatorParameter() const
{
    return getGlobalParameters()->getParameterById(kDenominatorParameterId);
}

ZylParameter* ZylTransportModule::getStateParameter() const
{
    return getCommandParameters()->getParameterById(kStateParameterId);
}

double ZylTransportModule::ownClockPpq(double bpm) const
{
    // Before prepareToPlay there is no rate to count seconds with.
    if (!(sampleRate > 0.0) || !std::isfinite(sampleRate))
        return 0.0;
    return samplePosition / sampleRate * (bpm / kSecondsPerMinute);
}

void ZylTransportModule::readPosition(PositionInfo& info)
{
    if (auto* playHead = getContainer()->getPlayHead())
    {
        if (const auto host = playHead->getPosition(); host.hasValue() && drivesTheSong(*host))
        {
            hostPositionUsed = true;
            info = fromHost(*host);
            bringIntoRange(info);
            bool playStateChanged = false;
            bool hostPlaying = false;
            syncHostPlayState(info, playStateChanged, hostPlaying);
            if (playStateChanged || hostPlaying || !isPlaying())
                return;
            // The host stands still while the transport plays on: the own clock runs, at the
            // host's tempo.
            info.ppqPosition = ownClockPpq(info.bpm);
            return;
        }
    }

    hostPositionUsed = false;
    info = position;
    // The play state, read again only once the parameter epoch moved: an idle block reads no
    // parameter here.
    if (playStateReading.isDue())
        blockPlaying = isPlaying();
    info.isPlaying = blockPlaying;
    info.ppqPosition = ownClockPpq(info.bpm);
}

void ZylTransportModule::computeBarAndBeat(double ppqPosition, int numerator, int denominator,
                                           int& barOut, int& beatOut)
{
    if (!std::isfinite(ppqPosition))
        ppqPosition = 0.0;
    if (numerator <= 0)
        numerator = kFallbackTimeSig;
    if (denominator <= 0)
        denominator = kFallbackTimeSig;
    const double beatLength = kQuarterNotesPerWhole / denominator;
    const double barLength = numerator * beatLength;
    const double bars = std::floor(ppqPosition / barLength);
    barOut = toIntHeld(bars);
    beatOut = toIntHeld(std::floor((ppqPosition - bars * barLength) / beatLength));
}

void ZylTransportModule::publishPosition(const PositionInfo& info)
{
    if (info == position)
        return;

    const int oldBar = bar;
    const int oldBeat = beat;
    const double oldBpm = position.bpm;
    const int oldNumerator = position.timeSigNumerator;
    const int oldDenominator = position.timeSigDenominator;

    position = info;
    computeBarAndBeat(info.ppqPosition, info.timeSigNumerator, info.timeSigDenominator, bar, beat);

    if (differs(info.bpm, oldBpm))
        if (auto* parameter = getBpmParameter())
            parameter->setValue(static_cast<float>(info.bpm), kCauseTransport, false, true);
    if (info.timeSigNumerator != oldNumerator)
        if (auto* parameter = getNumeratorParameter())
            parameter->setValue(static_cast<float>(info.timeSigNumerator), kCauseTransport, false,
                                true);
    if (info.timeSigDenominator != oldDenominator)
        if (auto* parameter = getDenominatorParameter())
            parameter->setValue(static_cast<float>(info.timeSigDenominator), kCauseTransport,
                                false, true);

    if (bar != oldBar)
        postThroughState(kBarChanged);
    if (beat != oldBeat)
        postThroughState(kBeatChanged);
}

void ZylTransportModule::copyPosition(PositionInfo& info, int& barOut, int& beatOut,
                                      bool& hostUsed) const
{
    const juce::ScopedLock callbackLock(getContainer()->getCallbackLock());
    info = position;
    barOut = bar;
    beatOut = beat;
    hostUsed = hostPositionUsed;
}

void ZylTransportModule::syncHostPlayState(const PositionInfo& host, bool& playStateChanged,
                                           bool& hostPlaying)
{
    const bool storedPlaying = position.isPlaying || position.isRecording;
    hostPlaying = host.isPlaying || host.isRecording;
    playStateChanged = hostPlaying != storedPlaying;
    if (!playStateChanged)
        return;

    if (hostPlaying && isArmed())
    {
        samplePosition = 0.0;
        start();
    }
    else if (!hostPlaying && isPlaying())
    {
        stop();
    }
}

bool ZylTransportModule::stateIs(const ZylValue* stateValue) const
{
    auto* state = getStateParameter();
    return state != nullptr && stateValue != nullptr && state->getValueObject() == stateValue;
}

void ZylTransportModule::setState(ZylValue* stateValue)
{
    getStateParameter()->setValueObject(stateValue, kCauseUnspecified, false, true);
}

bool ZylTransportModule::isPlaying() const
{
    return domainSet != nullptr && stateIs(domainSet->getStateDomain()->getPlaying());
}

bool ZylTransportModule::isArmed() const
{
    return domainSet != nullptr && stateIs(domainSet->getStateDomain()->getArmed());
}

bool ZylTransportModule::isStopped() const
{
    return domainSet != nullptr && stateIs(domainSet->getStateDomain()->getStopped());
}

void ZylTransportModule::setBpm(float bpm)
{
    position.bpm = static_cast<double>(bpm);
}

void ZylTransportModule::setNumerator(int numerator)
{
    position.timeSigNumerator = numerator;
}

int ZylTransportModule::getNumerator() const
{
    return position.timeSigNumerator;
}

void ZylTransportModule::setDenominator(int denominator)
{
    position.timeSigDenominator = denominator;
}

int ZylTransportModule::getDenominator() const
{
    return position.timeSigDenominator;
}

void ZylTransportModule::postThroughState(int code)
{
    if (auto* state = getStateParameter())
        state->sendMessage(code);
}

void ZylTransportModule::start()
{
    postThroughState(zylCommandCode(kCommandTransportStart));
}

void ZylTransportModule::restart()
{
    postThroughState(zylCommandCode(kCommandTransportRestart));
}

void ZylTransportModule::rewind()
{
    postThroughState(zylCommandCode(kCommandTransportRewind));
}

void ZylTransportModule::stop()
{
    postThroughState(zylCommandCode(kCommandTransportStop));
}

void ZylTransportModule::notifyRoot()
{
    if (auto* reset = getContainer()->getResetParameter())
        reset->sendMessage(kResetCommand);
}
