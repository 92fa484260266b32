// Interface and class identifiers of the host framework and the AAX host.
#pragma once

#include "ACFUnknown.h"

//==============================================================================
// Identifiers whose values are fixed by the host framework.

inline constexpr acfIID IID_IACFUnknown
    { 0x00000000, 0x0000, 0x0000, { 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46 } };
inline constexpr acfIID IID_IACFPluginDefinition
    { 0x00EEF015, 0x7FD0, 0x11D6, { 0x84, 0x85, 0x00, 0x30, 0x65, 0x42, 0xA0, 0x24 } };
inline constexpr acfIID IID_IAAXEffectParametersV1
    { 0x964E333D, 0x334C, 0x533F, { 0xC2, 0xC7, 0x38, 0x34, 0xC3, 0xC2, 0x3E, 0x3E } };
inline constexpr acfIID IID_IAAXEffectParametersV2
    { 0xF1F47D06, 0x308F, 0x4CC5, { 0x9C, 0x7C, 0x50, 0xA8, 0x3F, 0x8A, 0xB8, 0x13 } };
inline constexpr acfIID IID_IAAXEffectParametersV3
    { 0xD2540E9D, 0x9163, 0x42BB, { 0xA6, 0xFD, 0x81, 0xE1, 0x0E, 0xA3, 0x24, 0x98 } };
inline constexpr acfIID IID_IAAXEffectGUIV1
    { 0x964E323D, 0x424C, 0x5E1A, { 0x22, 0x27, 0x28, 0x24, 0x23, 0x22, 0x2E, 0x1E } };

//==============================================================================
// OURS: identifiers that the host platform defines and no host on this system
// provides. Every one below is this product's own choice, in one pattern:
// first word "VLR" followed by a running number, then 'AA', 'X', "Modulix".
// A host built against other values will not find these interfaces.

namespace AAX_OwnIdentifiers
{
    constexpr acfUID make (uint8_t number) noexcept
    {
        return { 0x564C5200u | number, 0x4141, 0x5800, { 'M', 'o', 'd', 'u', 'l', 'i', 'x', 0x00 } };
    }
}

inline constexpr acfIID   IID_IACFComponentFactory            = AAX_OwnIdentifiers::make (0x01);
inline constexpr acfCLSID AAXCompID_HostServices               = AAX_OwnIdentifiers::make (0x02);
inline constexpr acfIID   IID_IAAXHostServicesV1               = AAX_OwnIdentifiers::make (0x03);
inline constexpr acfIID   IID_IAAXHostServicesV2               = AAX_OwnIdentifiers::make (0x04);
inline constexpr acfCLSID AAXCompID_AAXCollection              = AAX_OwnIdentifiers::make (0x05);
inline constexpr acfIID   IID_IAAXCollectionV1                 = AAX_OwnIdentifiers::make (0x06);
inline constexpr acfCLSID AAXCompID_AAXEffectDescriptor        = AAX_OwnIdentifiers::make (0x07);
inline constexpr acfIID   IID_IAAXEffectDescriptorV1           = AAX_OwnIdentifiers::make (0x08);
inline constexpr acfIID   IID_IAAXEffectDescriptorV2           = AAX_OwnIdentifiers::make (0x09);
inline constexpr acfCLSID AAXCompID_AAXComponentDescriptor     = AAX_OwnIdentifiers::make (0x0A);
inline constexpr acfIID   IID_IAAXComponentDescriptorV1        = AAX_OwnIdentifiers::make (0x0B);
inline constexpr acfIID   IID_IAAXComponentDescriptorV2        = AAX_OwnIdentifiers::make (0x0C);
inline constexpr acfCLSID AAXCompID_AAXPropertyMap             = AAX_OwnIdentifiers::make (0x0D);
inline constexpr acfIID   IID_IAAXPropertyMapV1                = AAX_OwnIdentifiers::make (0x0E);
inline constexpr acfIID   IID_IAAXPropertyMapV2                = AAX_OwnIdentifiers::make (0x0F);
inline constexpr acfIID   IID_IAAXControllerV1                 = AAX_OwnIdentifiers::make (0x10);
inline constexpr acfIID   IID_IAAXControllerV2                 = AAX_OwnIdentifiers::make (0x11);
inline constexpr acfIID   IID_IAAXControllerV3                 = AAX_OwnIdentifiers::make (0x12);
inline constexpr acfIID   IID_IAAXAutomationDelegateV1         = AAX_OwnIdentifiers::make (0x13);
inline constexpr acfIID   IID_IAAXTransportV1                  = AAX_OwnIdentifiers::make (0x14);
inline constexpr acfIID   IID_IAAXTransportV2                  = AAX_OwnIdentifiers::make (0x15);
inline constexpr acfIID   IID_IAAXViewContainerV1              = AAX_OwnIdentifiers::make (0x16);
inline constexpr acfIID   IID_IAAXViewContainerV2              = AAX_OwnIdentifiers::make (0x17);
