// Persistent value objects: assignment between objects of fitting classes, and
// the declaration of extra stream properties that a layout reader or writer
// visits. Main thread only.
#pragma once

#include "toolkit/Events.h"
#include "toolkit/MemoryStream.h"

#include <functional>
#include <string>

// What a layout reader or writer offers an object for its own stream properties.
class TFiler {
public:
    using TStreamProc = std::function<void(TMemoryStream& Stream)>;
    virtual ~TFiler() = default;

    // A property held as a raw byte block. A reader calls ReadData with the block;
    // a writer calls WriteData, and only when HasData.
    virtual void DefineBinaryProperty(const std::string& Name, const TStreamProc& ReadData,
                                      const TStreamProc& WriteData, bool HasData) = 0;
};

class TPersistent : public TObject {
public:
    virtual std::string ClassName() const { return "TPersistent"; }

    // Takes the value of Source. The base asks Source to assign itself to this
    // object; when no class knows how, it raises EConvertError
    // "Cannot assign a <source class> to a <target class>".
    virtual void Assign(const TPersistent* Source);

    // Declares the object's stream properties to a layout reader or writer.
    virtual void DefineProperties(TFiler&) {}

protected:
    virtual void AssignTo(TPersistent* Dest) const;
    [[noreturn]] void AssignError(const TPersistent* Source) const;
};
