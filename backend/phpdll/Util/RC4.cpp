#include "Util/RC4.h"

#include <cstring>

#include "kx_scramble_state.h"

static_assert(sizeof kScrambleInitialState == RC4::kStateSize, "the scramble state has 65 values");

RC4::RC4() : m_i(0), m_j(0), m_t(0), m_count(0)
{
    std::memcpy(m_state, kScrambleInitialState, sizeof m_state);
}

void RC4::crypt(KX_U8 *buffer, unsigned long length)
{
    for (unsigned long n = 0; n < length; ++n) {
        m_i = (m_i + 1) % kStateSize;
        m_j = (m_j + m_state[m_i]) % kStateSize;
        KX_U8 s = m_state[m_i];
        m_state[m_i] = m_state[m_j];
        m_state[m_j] = s;
        m_t = (m_state[m_i] + m_state[m_j]) % kStateSize;
        buffer[n] ^= m_state[m_t];
        ++m_count;
    }
}
