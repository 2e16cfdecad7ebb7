#include "import/ShownRoomsSink.h"

namespace grottix {

void TShownRoomsSink::AddQuadrangle(const TD3DGenericQuadrangleInfo& face, const TFaceTraits& traits) {
    if (passing_) inner_.AddQuadrangle(face, traits);
}

void TShownRoomsSink::AddTriangle(const TD3DGenericTriangleInfo& face, const TFaceTraits& traits) {
    if (passing_) inner_.AddTriangle(face, traits);
}

void TShownRoomsSink::AddSprite(const TD3DStubObjectInfo& sprite) {
    if (passing_) inner_.AddSprite(sprite);
}

void TShownRoomsSink::BeginRoom(size_t room) {
    room_ = int(room);
    passing_ = shown(room_);
    if (passing_) inner_.BeginRoom(room);
}

void TShownRoomsSink::EndRoom() {
    if (passing_) inner_.EndRoom();
    room_ = -1;
    passing_ = true;
}

void TShownRoomsSink::BeginObject(const TPlacedObject& object) {
    passing_ = shown(object.room >= 0 ? object.room : room_);
    objectPassed_ = passing_;
    if (passing_) inner_.BeginObject(object);
}

void TShownRoomsSink::EndObject() {
    if (objectPassed_) inner_.EndObject();
    objectPassed_ = false;
    passing_ = shown(room_);
}

void TShownRoomsSink::BeginMesh(const TPlacedMesh& mesh) {
    if (passing_) inner_.BeginMesh(mesh);
}

void TShownRoomsSink::EndMesh() {
    if (passing_) inner_.EndMesh();
}

}  // namespace grottix
