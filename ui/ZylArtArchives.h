#pragma once

// Names of the embedded art archives (resources/archives.cmake), for ZylEmbeddedArchive::find
// and createDrawableFromArchive. Each archive's entries are listed beside it.
namespace ZylArtArchives
{
// collapse.svg, decrease.svg, expand.svg, increase.svg, modulate.svg, mousewheel.svg,
// radio1.svg to radio5.svg, vendorlogo.svg: widget icons and the vendor mark.
constexpr const char* kInterfaceArt = "interfaceart";
// aboutvstasio.svg (the About page), applogo.svg (the application logo), help1.svg (the Help
// page): large drawings, parsed once through the drawable cache.
constexpr const char* kAboutAndHelp = "aboutandhelp";
// disk.svg, info.svg, start.svg, stop.svg: the header panel's icons.
constexpr const char* kHeaderIcons = "headericons";
// chord.svg, key.svg, space.svg: the space panel's icons.
constexpr const char* kSpaceIcons = "spaceicons";
// midi.svg: the MIDI panel's icon.
constexpr const char* kMidiIcon = "midiicon";
// synth.svg: the synth panel's icon.
constexpr const char* kSynthIcon = "synthicon";
} // namespace ZylArtArchives
