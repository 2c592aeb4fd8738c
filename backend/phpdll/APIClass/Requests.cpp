#include "APIClass/Requests.h"

#include <cstring>

namespace {
// Cuts trailing blanks: the text ends after its last non-blank character
// within the field (an all-blank field becomes empty).
void trimRight(KX_U8 *field, unsigned width)
{
    unsigned length = 0;
    while (length < width && field[length])
        ++length;
    while (length > 0 && field[length - 1] == ' ')
        --length;
    std::memset(field + length, 0, width - length);
}

// Moves the characters after the first blank, without blanks, up to close
// the gaps. The part before the first blank (usually the vendor) is kept:
// it is part of the model's name as the GUI shows it.
void squeezeBlanks(KX_U8 *field, unsigned width)
{
    unsigned out = 0;
    for (unsigned in = 0; in < width && field[in]; ++in)
        if (field[in] != ' ')
            field[out++] = field[in];
    std::memset(field + out, 0, width - out);
}
} // namespace

void HDInfoRequest::normalize(HD_Info &info)
{
    const KX_U8 type = info.HDType;
    if (info.ConnectionType == 0) {
        if (type & 0x01)
            info.ConnectionType = 5;
        else if (type & 0x02)
            info.ConnectionType = 9;
        else if (type & 0x04)
            info.ConnectionType = 6;
    }
    if (info.DeviceType == 0) {
        if (type & 0x10)
            info.DeviceType = 1;
        else if (type & 0x20)
            info.DeviceType = 13;
        else if (type & 0x08)
            info.DeviceType = 5;
    }
    // The model must end within its field.
    info.Model[sizeof info.Model - 1] = 0;
    trimRight(info.Model, sizeof info.Model);
    squeezeBlanks(info.Model, sizeof info.Model);
    trimRight(info.SerialNo, sizeof info.SerialNo);
    trimRight(info.FWVersion, sizeof info.FWVersion);
}

KX_U8 HDInfoRequest::callAPI()
{
    HD_Info_Request *request = requestAs<HD_Info_Request>();
    KX_U8 status = KX_PD_GetHDInfo_Ext(m_adapterID, request);
    if (status != KX_SUCCESS)
        status = KX_PD_GetHDInfo(m_adapterID, request);
    if (status == KX_SUCCESS) {
        const KX_U16 returned = returnedInBuffer();
        for (KX_U16 i = 0; i < returned; ++i) {
            HD_Info info;
            std::memcpy(&info, record(i), sizeof info);
            normalize(info);
            std::memcpy(record(i), &info, sizeof info);
        }
    }
    return status;
}
