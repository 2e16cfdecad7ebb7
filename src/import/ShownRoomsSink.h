#pragma once
// Passes on to another sink only what stands in the rooms shown: the faces and sprites of a room
// that is not shown, and of the static meshes and items placed in it, are left out. Used where the
// faces are not kept in cells that can be hidden later (the exports).

#include <cstdint>
#include <utility>
#include <vector>

#include "import/FaceSink.h"

namespace grottix {

class TShownRoomsSink : public TFaceSink {
public:
    // shown: per room 1 when shown; rooms beyond it are shown.
    TShownRoomsSink(TFaceSink& inner, std::vector<uint8_t> shown) : inner_(inner), shown_(std::move(shown)) {}

    void AddQuadrangle(const TD3DGenericQuadrangleInfo& face, const TFaceTraits& traits) override;
    void AddTriangle(const TD3DGenericTriangleInfo& face, const TFaceTraits& traits) override;
    void AddSprite(const TD3DStubObjectInfo& sprite) override;
    void BeginRoom(size_t room) override;
    void EndRoom() override;
    void BeginObject(const TPlacedObject& object) override;
    void EndObject() override;
    void BeginMesh(const TPlacedMesh& mesh) override;
    void EndMesh() override;

private:
    bool shown(int room) const { return room < 0 || size_t(room) >= shown_.size() || shown_[size_t(room)] != 0; }

    TFaceSink& inner_;
    std::vector<uint8_t> shown_;
    int room_ = -1;               // the room being passed, -1 outside rooms
    bool passing_ = true;         // whether what comes now is passed on
    bool objectPassed_ = false;   // whether the open object's BeginObject was passed on
};

}  // namespace grottix
