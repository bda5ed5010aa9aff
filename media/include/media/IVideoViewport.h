#pragma once
// IVideoViewport: what the video player needs of the screen it plays on. The
// display library's viewport lives beside the media library, not below it, so
// the program hands the player this narrow view of it: the back buffer the
// frames are stretched over, and the call that shows that buffer.

class CDib;

class IVideoViewport {
public:
    virtual ~IVideoViewport() = default;
    // The back buffer; null while there is none (nothing is drawn then).
    virtual CDib* DrawingSurface() = 0;
    // Shows the back buffer on the screen (a flip or a copy).
    virtual void Present() = 0;
};
