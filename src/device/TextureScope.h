#pragma once
// TTextureScope: binds a texture for one drawing step and binds the one that was there before again on
// leaving. It holds the earlier texture meanwhile: when the device was its last owner (the scene that
// made it has let it go), binding another would otherwise free it before it is bound again.

#include <cstdint>
#include <memory>

#include "device/D3DDevice.h"
#include "device/DirectDrawSurface.h"

namespace grottix {

class TTextureScope {
public:
    TTextureScope(TD3DDevice& device, TDirectDrawSurface* texture, uint32_t stage = 0)
        : device_(device), stage_(stage) {
        if (TDirectDrawSurface* bound = device.GetTexture(stage)) previous_ = bound->shared_from_this();
        device.SetTexture(stage, texture);
    }
    ~TTextureScope() { device_.SetTexture(stage_, previous_.get()); }
    TTextureScope(const TTextureScope&) = delete;
    TTextureScope& operator=(const TTextureScope&) = delete;

private:
    TD3DDevice& device_;
    uint32_t stage_;
    std::shared_ptr<TDirectDrawSurface> previous_;
};

}  // namespace grottix
