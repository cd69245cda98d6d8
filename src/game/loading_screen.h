#pragma once
// Whole frames of their own while a long load runs inside one frame of the
// main loop: a picture in the middle of a black screen and the word for
// "Loading" with 0 to 3 dots that advance with every frame drawn.
#include <cstdint>
#include <memory>

#include "engine/noncopyable.h"

class C2DObject;

class CLoadingScreen : NonCopyable {
public:
    static constexpr int kPictureSize = 128;

    // Places the picture and switches the core's device-reset callbacks off.
    CLoadingScreen();
    ~CLoadingScreen();

    // One complete frame; nothing while the device is lost.
    void Draw();

    int32_t GetDots() const { return _dots; }
    const C2DObject& GetPicture() const { return *_picture; }

private:
    std::unique_ptr<C2DObject> _picture;
    int32_t _dots = 0;
};
