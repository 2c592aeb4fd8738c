#ifndef KX_RC4_H
#define KX_RC4_H

#include "kx_types.h"

// The string scramble shared with the web GUI: the RC4 output generator
// working modulo 65 over a fixed initial state (data/scramble_state.txt)
// instead of modulo 256 over a key schedule. Scrambling twice with fresh
// objects gives the bytes back. One object per string: the state moves on
// with every byte.
class RC4 {
public:
    static const unsigned kStateSize = 65;

    RC4();
    // Transforms length bytes of buffer in place.
    void crypt(KX_U8 *buffer, unsigned long length);

private:
    KX_U8 m_state[kStateSize];
    unsigned m_i;
    unsigned m_j;
    unsigned m_t;
    unsigned long m_count; // bytes transformed so far
};

#endif
