// Failure switches of the sim's media objects: one table keyed by operation. An armed switch
// makes the next `times` attempts of the operation fail with its code (-1: every attempt);
// every attempt is counted, armed or not.
//
// Keys. <name> is the name a filter was added to its graph under.
//   CreateInstance:<class>            SystemDeviceEnum, FilterGraph, CaptureGraphBuilder2,
//                                     SmartTee, SampleGrabber, VideoRenderer, WMAsfWriter
//   CreateClassEnumerator:<category>  VideoInput, AudioInput, Capture (the capture
//                                     device-interface class), LegacyFilters, AudioCompressors
//   AddFilter:<name>                  RemoveFilter:<name>
//   ConnectDirect:<from>-><to>        Connect:<from>-><to>
//   RenderStream                      SetFiltergraph
//   EnumMediaTypes                    EnumMediaTypes.Next (a pin's media-type enumerator)
//   GetFormat                         SetFormat (a camera's stream configuration)
//   SetMediaType                      GetConnectedMediaType        SetCallback (the grabber)
//   Run   Pause   Stop   GetState
//   QueryInterface:MediaControl       a graph that does not answer IMediaControl (code ignored)
//   CreateProfileManager   LoadProfileByID   ConfigureFilterUsingProfile   SetFileName
//   ShowPropertyFrame   RegisterDeviceNotification
// Failures bound to one device are flags of its record instead (SimDevice.h: busy, bagFails,
// nameReadable, bindFails, hasOutputPin, rgb24).
#pragma once

#include <map>
#include <string>

#include "platform/Result.h"

namespace platform::sim {

class SimMediaFailures {
public:
    void Fail(std::string operation, HRESULT code, int times);
    void Clear() { m_switches.clear(); }
    // Counts the attempt and answers the armed code, or S_OK.
    [[nodiscard]] HRESULT Check(const std::string& operation);
    int Attempts(const std::string& operation) const;

private:
    struct Switch {
        HRESULT code = S_OK;
        int remaining = 0;
    };
    std::map<std::string, Switch> m_switches;
    std::map<std::string, int> m_attempts;
};

}  // namespace platform::sim
