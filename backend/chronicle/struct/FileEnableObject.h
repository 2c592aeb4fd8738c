// A record that lives in one fixed-size slot of a store file.
#ifndef FILE_ENABLE_OBJECT_H
#define FILE_ENABLE_OBJECT_H

#include <cstdint>

class KXInputStream;
class KXFileStream;

class FileEnableObject {
public:
    virtual ~FileEnableObject() = default;
    /// Reads the record from a stream positioned at the slot start. Returns
    /// false (record unchanged) when the bytes are not all there.
    virtual bool input(KXInputStream &in) = 0;
    /// Writes the record to a stream positioned at the slot start.
    virtual bool output(KXFileStream &out) = 0;
    /// Slot size in bytes.
    virtual uint32_t getSize() const = 0;
    /// Bytes from the slot start that must exist for the record to count.
    virtual uint32_t getMiniSize() const = 0;
};

#endif
