#pragma once
// TD3DObject: base of everything a scene draws. It knows its display and texture, a lazily computed
// bounding sphere, a hidden flag, a safe-mode flag and two drawing events. TD3DTimingObject adds the
// scene time that texture animation and scrolling read.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "codecs/Bitmap.h"
#include "engine/EngineTypes.h"
#include "engine/SceneRecords.h"

namespace grottix {

class TCustomDXDraw;
class TD3DDevice;
class TDirect3DTexture2;
class TD3DSceneLight;
class TStream;

// Resolved textures: frame 0 primary, frame 0 secondary, frame 1 primary, frame 1 secondary (not owned).
using TTextureSet = std::array<TDirect3DTexture2*, 4>;

class TD3DObject {
public:
    virtual ~TD3DObject();
    TD3DObject(const TD3DObject&) = delete;
    TD3DObject& operator=(const TD3DObject&) = delete;

    // Sets Radius and Center.
    virtual void CalcBounds() = 0;
    // Last step of construction: builds vertices, makes the own texture.
    virtual void InitObject() = 0;
    virtual bool IsPrelit() const { return false; }
    virtual void SetHidden(bool hidden) { Hidden = hidden; }
    virtual void SetSafeMode(bool safeMode) { SafeMode = safeMode; }
    float GetRadius();
    TD3DVector GetCenter();
    // Whether the two bounding spheres overlap; a scene answers for its objects.
    virtual bool HitsObject(TD3DObject& other);
    virtual bool HitsSphere(TD3DVector center, float radius);
    // Samples the path from start to end; out is the first hitting point, or end.
    virtual bool HitsPath(TD3DVector start, TD3DVector end, TD3DVector& out, float radius);
    virtual uint8_t GetKind() const { return kKindObject; }
    virtual int32_t GetID() const { return 0; }
    // Runs the events and draws unless hidden.
    virtual void Render();
    virtual void DoRender() {}
    virtual void Translate(TD3DVector) { BoundsChanged = true; }
    void TranslateXYZ(float x, float y, float z) { BoundsChanged = true; Translate({x, y, z}); }
    virtual void Rotate(TD3DVector) { BoundsChanged = true; }
    void RotateXYZ(float a, float b, float c) { Rotate({a, b, c}); BoundsChanged = true; }
    // Adds the texture names the object uses, each once.
    virtual void GetTextureNames(std::vector<std::string>& names) const = 0;
    virtual bool IsSameObject(const TD3DObject& other) const;
    virtual void SaveToStream(TStream&) const {}
    virtual void LoadFromStream(TStream&, int32_t /*version*/) {}
    // Sets and returns Distance to the eye.
    virtual float CalcDistance(TD3DVector eye) = 0;
    virtual std::string GetName() const = 0;
    virtual TInfoRecord GetRecord() const = 0;
    // The object's reference point, with offset subtracted from z.
    virtual void GetOrigin(TD3DVector& out, float offset) = 0;
    virtual void ApplyLight(const TD3DSceneLight& light) = 0;
    void ApplyLights(const std::vector<std::unique_ptr<TD3DSceneLight>>& lights);
    virtual int32_t GetFileVersion() const { return 119; }
    virtual int32_t GetVertexCount() const = 0;
    virtual int32_t GetTriangleCount() const = 0;

    bool SafeMode = false;
    TCustomDXDraw* Display = nullptr;
    bool OwnsTexture = false;
    TDirect3DTexture2* Texture = nullptr;
    TBitmap Picture{0, 0, TPixelFormat::pf24bit};
    bool Hidden = false;
    bool BoundsChanged = true;
    float Radius = 0;
    TD3DVector Center;
    std::function<bool(TCustomDXDraw*)> OnBeforeRender;
    std::function<void(TCustomDXDraw*)> OnAfterRender;
    bool Prelit = false;
    bool Stored = true;
    float Distance = 0;
    // The cell (a level's room) the object stands in; -1: none, and then it is always drawn.
    int32_t Cell = -1;

protected:
    TD3DObject() = default;
    // The construction every object shares; each class calls it once its own fields are set,
    // so that InitObject runs last.
    void Construct(TCustomDXDraw* display, TDirect3DTexture2* texture);
    // Makes Picture a 2 x 2 image of one colour and the object texture from it.
    void MakeOwnTexture(TColor color);
    void MakeOwnTexture(const std::array<TColor, 4>& colors);
    // The display's 3D device, or none.
    TD3DDevice* Device() const;

private:
    std::unique_ptr<TDirect3DTexture2> ownTexture_;
};

class TD3DTimingObject : public TD3DObject {
public:
    float Time = 0;

protected:
    // Frame index for a frame count and period at the current time.
    int FrameAt(int16_t frameCount, float framePeriod) const;
};

// The drawing that stubs and polygons share for their passes (more than 0 passes, real textures):
// 16 or more colour-keyed (one texture) or two textures blended; 1 to 15 the same texture blended
// that many times.
void DrawPasses(TD3DDevice& device, uint8_t passes, TDirect3DTexture2* primary, TDirect3DTexture2* secondary,
                TD3DPrimitiveType type, const TD3DLVertex* vertices, uint32_t count);
// Gives a texture black as source colour key and makes it texture 0.
void SetKeyedTexture(TD3DDevice& device, TDirect3DTexture2* texture);
void SetPlainTexture(TD3DDevice& device, TDirect3DTexture2* texture);

// Adds a name to a texture-name list unless it is empty or already there.
void AddTextureName(std::vector<std::string>& names, const std::string& name);

// Lights one vertex with the base colour b (colour value); the light decides colour and specular.
void LightVertex(TD3DLVertex& vertex, TColor base, const TD3DSceneLight& light);

}  // namespace grottix
