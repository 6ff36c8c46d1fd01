#include "platform/rm/Light.h"

#include "platform/rm/Math.h"

namespace rm {

D3DCOLOR Light::GetColor() const {
    return CreateColorRGB(m_r, m_g, m_b);
}

} // namespace rm
