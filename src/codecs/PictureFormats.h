#pragma once
// The picture-format registry: a process-wide list mapping a file extension and a description to a
// graphic class, kept by TPicture. Codec units add their rows when the program starts and remove
// them when it ends; TUnitRegistration counts, so only the first start registers and only the
// matching last end unregisters.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "codecs/Graphic.h"

namespace grottix {

// A graphic class: its name and how to make an empty object of it.
struct TGraphicClass {
    std::string ClassName;
    std::function<std::unique_ptr<TGraphic>()> Create;
};

struct TFileFormat {
    std::string Extension;  // as registered, without the dot
    std::string Description;
    const TGraphicClass* GraphicClass = nullptr;
};

// A picture holder: one graphic of whatever class its file called for.
class TPicture {
public:
    // Extensions are stored without a leading dot and compared without regard to case.
    static void RegisterFileFormat(const std::string& extension, const std::string& description,
                                   const TGraphicClass& graphicClass);
    // Removes every row of the class.
    static void UnregisterGraphicClass(const TGraphicClass& graphicClass);
    static std::vector<TFileFormat> FileFormats();
    // The class registered for an extension ("tga", ".TGA"), or null.
    static const TGraphicClass* FindFileFormat(const std::string& extension);

    // Registration by class name, for graphics stored as component properties.
    static void RegisterClass(const TGraphicClass& graphicClass);
    static void UnregisterClass(const TGraphicClass& graphicClass);
    static const TGraphicClass* FindClass(const std::string& className);

    TGraphic* Graphic() const { return graphic_.get(); }
    void SetGraphic(std::unique_ptr<TGraphic> graphic) { graphic_ = std::move(graphic); }
    // Loads with the class registered for the file's extension; raises EInvalidGraphic
    // ("Unknown picture file extension (.%s)") when there is none.
    void LoadFromFile(const std::string& path);

private:
    std::unique_ptr<TGraphic> graphic_;
};

// The extension of a path without its dot ("" when there is none).
std::string FileExtension(const std::string& path);

class TUnitRegistration {
public:
    TUnitRegistration(std::function<void()> registerRows, std::function<void()> unregisterRows)
        : register_(std::move(registerRows)), unregister_(std::move(unregisterRows)) {}
    void Initialize();
    void Finalize();
    int Count() const { return count_; }

private:
    std::function<void()> register_;
    std::function<void()> unregister_;
    int count_ = 0;
};

}  // namespace grottix
