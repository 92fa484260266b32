// Basic types, result codes and enumerations shared by the AAX host interfaces
// and the AAX library. Values that the host platform leaves to each side are
// chosen by this product and marked "ours" where they are defined.
#pragma once

#include <cstddef>
#include <cstdint>

using AAX_Result = int32_t;
using AAX_CParamID = const char*;       ///< a parameter identifier, zero-terminated
using AAX_CBoolean = uint8_t;           ///< 0 false, anything else true
using AAX_CTypeID = uint32_t;           ///< a four-character code
using AAX_CFieldIndex = int32_t;        ///< a field of the algorithm context
using AAX_CPropertyValue = int32_t;
using AAX_CSelector = uint32_t;
using AAX_CTargetPlatform = int32_t;

/** Builds a four-character code, first character in the highest byte ('elck'). */
constexpr AAX_CTypeID AAX_MakeTypeID (char a, char b, char c, char d) noexcept
{
    return (static_cast<AAX_CTypeID> (static_cast<unsigned char> (a)) << 24)
         | (static_cast<AAX_CTypeID> (static_cast<unsigned char> (b)) << 16)
         | (static_cast<AAX_CTypeID> (static_cast<unsigned char> (c)) << 8)
         |  static_cast<AAX_CTypeID> (static_cast<unsigned char> (d));
}

/** Every result the AAX library returns; 0 is success. */
enum AAX_EError : int32_t
{
    AAX_SUCCESS                         = 0,
    AAX_ERROR_INVALID_PARAMETER_ID      = -20001,  ///< no parameter has the identifier or index
    AAX_ERROR_INVALID_STRING_CONVERSION = -20002,  ///< a value/text conversion failed, or no output string
    AAX_ERROR_NULL_OBJECT               = -20004,  ///< a needed object or interface is missing
    AAX_ERROR_INVALID_CHUNK_INDEX       = -20006,
    AAX_ERROR_INVALID_CHUNK_ID          = -20007,
    AAX_ERROR_INCORRECT_CHUNK_SIZE      = -20008,  ///< negative, zero or not the size last reported
    AAX_ERROR_UNIMPLEMENTED             = -20009,  ///< also: the host lacks a later interface version
    AAX_ERROR_NOT_INITIALIZED           = -20011,  ///< the GUI object got no host object
    AAX_ERROR_INVALID_NUMBER_OF_STEPS   = -20033,  ///< a parameter reports a negative step count
    AAX_ERROR_CHUNK_OVERFLOW            = -333     ///< the controls chunk would overflow its buffer
};

/** Parameter kinds as the host sees them. */
enum AAX_EParameterType : int32_t
{
    AAX_eParameterType_Discrete   = 0,
    AAX_eParameterType_Continuous = 1
};

/** Orientation flags, handed to the host unchanged (19 marks an inverted parameter). */
using AAX_EParameterOrientation = int32_t;

/** Who caused a value update; the library does not look at it. */
enum AAX_EUpdateSource : int32_t
{
    AAX_eUpdateSource_Unspecified = 0
};

/** The two plug-in procedures registered with the effect descriptor. */
enum AAX_CProcPtrID : int32_t
{
    kAAX_ProcPtrID_Create_EffectParameters = 0,
    kAAX_ProcPtrID_Create_EffectGUI        = 1
};

/** Effect categories (only the one this product registers). */
enum AAX_EPlugInCategory : uint32_t
{
    AAX_ePlugInCategory_Modulation = 32
};

/** Channel layouts of a stem. The values are ours: channel count in the low
    16 bits, a running index in the high 16 bits. */
enum AAX_EStemFormat : int32_t
{
    AAX_eStemFormat_Mono   = 0x00000001,
    AAX_eStemFormat_Stereo = 0x00010002,
    AAX_eStemFormat_None   = -100
};

/** Properties of a component's property map. The numbers are those the
    descriptions use; names are ours. */
enum AAX_EProperty : int32_t
{
    AAX_eProperty_ManufacturerID             = 11,
    AAX_eProperty_ProductID                  = 12,
    AAX_eProperty_PlugInID_Native            = 13,
    AAX_eProperty_PlugInID_AudioSuite        = 14,
    AAX_eProperty_InputStemFormat            = 51,
    AAX_eProperty_OutputStemFormat           = 52,
    AAX_eProperty_CanBypass                  = 60,
    AAX_eProperty_SupportsSideChainInput     = 116,
    AAX_eProperty_Constraint_MultiMonoSupport = 304
};

/** Kinds of input data port (the value 1 is the one registered). */
enum AAX_EDataInPortType : int32_t
{
    AAX_eDataInPortType_Unbuffered = 0,
    AAX_eDataInPortType_Buffered   = 1
};

/** MIDI node kinds (ours; passed through only). */
enum AAX_EMIDINodeType : int32_t
{
    AAX_eMIDINodeType_LocalInput  = 0,
    AAX_eMIDINodeType_LocalOutput = 1
};

/** Resource kinds (ours; passed through only). */
enum AAX_EResourceType : int32_t
{
    AAX_eResourceType_None      = 0,
    AAX_eResourceType_PageTable = 1
};

/** Why an instance-initialisation procedure is called (ours). */
enum AAX_EComponentInstanceInitAction : int32_t
{
    AAX_eComponentInstanceInitAction_AddingNewInstance = 0,
    AAX_eComponentInstanceInitAction_RemovingInstance  = 1,
    AAX_eComponentInstanceInitAction_ResetInstance     = 2
};

/** Timeline frame rates and feet/frames rates (ours; passed through only). */
enum AAX_EFrameRate : int32_t
{
    AAX_eFrameRate_Undeclared = 0
};

enum AAX_EFeetFramesRate : int32_t
{
    AAX_eFeetFramesRate_Undeclared = 0
};

/** Control highlight colours (ours). */
enum AAX_EHighlightColor : int32_t
{
    AAX_eHighlightColor_Red    = 0,
    AAX_eHighlightColor_Blue   = 1,
    AAX_eHighlightColor_Green  = 2,
    AAX_eHighlightColor_Yellow = 3
};

/** Which custom label the host asks a GUI for (ours). */
enum AAX_EPlugInStrings : int32_t
{
    AAX_ePlugInStrings_Analysis = 0
};

/** What kind of native view a view container carries. */
enum AAX_EViewContainer_Type : int32_t
{
    AAX_eViewContainer_Type_NULL   = 0,
    AAX_eViewContainer_Type_Native = 1
};

/** Priorities of trace text sent to the host. */
enum AAX_ETracePriorityHost : int32_t
{
    AAX_eTracePriorityHost_None   = 0,
    AAX_eTracePriorityHost_Normal = 0x08000000
};

/** DMA modes of the processing side (ours; passed through only). */
class AAX_IDma
{
public:
    enum EMode : int32_t
    {
        eMode_Error   = 0,
        eMode_Burst   = 1,
        eMode_Gather  = 2,
        eMode_Scatter = 3
    };
};

/** A size or position in the host's view coordinates. */
struct AAX_Point
{
    float vert = 0.0f;
    float horz = 0.0f;
};

struct AAX_Rect
{
    float top = 0.0f;
    float left = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
};

/** Identifies one plug-in type to the host. */
struct AAX_SPlugInIdentifierTriad
{
    AAX_CTypeID mManufacturerID;
    AAX_CTypeID mProductID;
    AAX_CTypeID mPlugInID;
};

/** A chunk exchanged with the host: a 56-byte header, then fSize data bytes.
    Header fields are in native byte order. */
struct AAX_SPlugInChunk
{
    int32_t fSize;            ///< data size in bytes
    int32_t fVersion;
    AAX_CTypeID fManufacturerID;
    AAX_CTypeID fProductID;
    AAX_CTypeID fPlugInID;
    AAX_CTypeID fChunkID;
    char fName[32];           ///< zero-terminated, at most 31 characters
    char fData[1];            ///< the first of fSize bytes
};

/** Bytes before the data of an AAX_SPlugInChunk. */
constexpr uint32_t AAX_SPlugInChunkHeaderSize = 56;

static_assert (offsetof (AAX_SPlugInChunk, fData) == AAX_SPlugInChunkHeaderSize, "data follows the 56-byte header");
static_assert (sizeof (AAX_SPlugInIdentifierTriad) == 12, "three 32-bit codes");

struct AAX_CMidiPacket;
struct AAX_SHybridRenderInfo;

/** Procedures registered for the processing side. */
using AAX_CProcessProc = void (*) (void* const inInstancesBegin[], const void* inInstancesEnd);
using AAX_CInstanceInitProc = int32_t (*) (const void* inInstanceContext, AAX_EComponentInstanceInitAction inAction);
using AAX_CBackgroundProc = int32_t (*)();
