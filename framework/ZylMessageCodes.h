#pragma once

// Every message code of the program. A code is (event << 8) | low byte. For parameter and
// domain events the low byte is the cause of the change; commands carry kCauseCommand in the
// low byte and the command number as event. Receivers read the event with zylMessageEvent and
// mostly ignore the low byte.

// Causes (low byte).
constexpr int kCauseUnspecified = 0; // never arrives: notify operations send it as kCauseState
constexpr int kCauseTransport = 1;   // the transport's own tempo or time-signature update
constexpr int kCauseUser = 2;        // user interface
constexpr int kCauseHost = 3;        // host automation
constexpr int kCauseListRebuilt = 4; // a parameter re-selecting its value after its domain rebuilt
constexpr int kCauseState = 5;       // default or loaded state
constexpr int kCauseCommand = 6;     // low byte of every command message
constexpr int kCauseNotModifying = 8; // a value change that does not mark its module modified

// Events combined with a cause (use with zylMessageCode or add the cause).
constexpr int kValueChanged = 0x0100;        // a parameter's value changed, or a typed number was refused
constexpr int kEnabledChanged = 0x0200;      // a parameter's enabled flag changed
constexpr int kGestureChanged = 0x0400;      // a host edit gesture began or ended
constexpr int kDomainValuesChanged = 0x0500; // names or labels of a domain's values changed
constexpr int kDomainValueChanged = 0x0600;  // a value of the domain changed
constexpr int kDomainListRebuilt = 0x0704;   // the domain's value list was rebuilt
constexpr int kStatusRefresh = 0x2100;       // no component posts it; the status view listens

// Fixed codes.
constexpr int kWheelAssignmentChanged = 0x1D05;
constexpr int kBarChanged = 0x1E01;
constexpr int kBeatChanged = 0x1F01;
constexpr int kTransportTick = 0x2507; // every 500 ms
constexpr int kSpaceLayoutChanged = 0x2608;
constexpr int kCellStatesChanged = 0x2708; // cell states or chord changed
constexpr int kSpaceViewActivated = 0x2900; // plus the view index in the low byte

// Space view indexes sent with kSpaceViewActivated.
constexpr int kPianoViewIndex = 9;
constexpr int kGridViewIndex = 10;

// Command numbers (the event byte of a command message).
constexpr int kCommandMidiSettings = 10;
constexpr int kCommandAbout = 11;
constexpr int kCommandHelp = 12;
constexpr int kCommandSavePreset = 13;
constexpr int kCommandLoadPreset = 14;
constexpr int kCommandSaveBank = 15;
constexpr int kCommandLoadBank = 16;
constexpr int kCommandRenamePreset = 17;
constexpr int kCommandProductHome = 19;
constexpr int kCommandOnlineManual = 20;
constexpr int kCommandLatestUpdates = 21;
constexpr int kCommandTransportStart = 23;
constexpr int kCommandTransportRestart = 24;
constexpr int kCommandTransportRewind = 25;
constexpr int kCommandTransportStop = 26;
constexpr int kCommandReset = 28;

constexpr int zylMessageEvent(int code) { return (code >> 8) & 0xff; }
constexpr int zylMessageLowByte(int code) { return code & 0xff; }

// A cause of 0 is sent as kCauseState; only the low byte of the cause is used.
constexpr int zylEffectiveCause(int cause)
{
    return (cause & 0xff) == kCauseUnspecified ? kCauseState : (cause & 0xff);
}

// eventBase is one of the event constants above (its low byte is replaced by the cause).
constexpr int zylMessageCode(int eventBase, int cause)
{
    return (eventBase & 0xff00) | zylEffectiveCause(cause);
}

// Codes whose receivers read the sender's state when the message arrives, so that a repeat
// posted while an equal one still waits for delivery tells nobody anything new: value changed
// (each cause apart, since receivers tell the causes apart) and cell states changed. Commands,
// gestures, rebuilt lists and the transport's bar and beat are each delivered as posted.
constexpr bool zylCoalescesUndeliveredRepeats(int code)
{
    return ((code >> 8) & 0xff) == (kValueChanged >> 8) || code == kCellStatesChanged;
}

constexpr int zylCommandCode(int commandNumber)
{
    return ((commandNumber & 0xff) << 8) | kCauseCommand;
}

constexpr int kResetCommand = zylCommandCode(kCommandReset); // 0x1C06
constexpr int kMidiSettingsCommand = zylCommandCode(kCommandMidiSettings); // 0x0A06
