// Interface queries checked by the compiler: ctest compiles this file once per case and expects
// the right query to build and each mistyped one to be refused, for the reason its case names.
#include "platform/media/Media.h"

void Query(const ComPtr<IGraphBuilder>& graph, platform::IMedia& media) {
    ComPtr<IMediaControl> control;
    ComPtr<IVideoWindow> window;
    ComPtr<IEnumPins> pins;
#if defined(QUERY_RIGHT)
    (void)graph.As(control);
    (void)graph.As(window);
    (void)platform::CreateInstance(media, CLSID_FilterGraph, control);
#elif defined(QUERY_OTHER_IID)
    // A window pointer filled through the media control's identifier.
    (void)graph.As(window, IID_IMediaControl);
#elif defined(QUERY_NO_IID)
    // Enumerators declare no identifier: nobody can ask an object for one.
    (void)graph.As(pins);
#elif defined(CREATE_OTHER_IID)
    (void)platform::CreateInstance(media, CLSID_FilterGraph, IID_IVideoWindow, control);
#else
#error "no case chosen"
#endif
}
