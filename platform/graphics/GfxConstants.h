#pragma once
// Numeric values of the graphics device layer: state ids, state values,
// formats, flags and result codes. The renderer stores and compares these
// numbers directly (in its state shadows and material blocks), so every
// value here is fixed and never renumbered.
#include <bit>
#include <cstdint>

#include "base/Status.h"

namespace platform::gfx {

// Float-valued states (fog distances, point sizes) travel as their bits.
inline constexpr uint32_t FloatBits(float f) { return std::bit_cast<uint32_t>(f); }
inline constexpr float BitsFloat(uint32_t bits) { return std::bit_cast<float>(bits); }

// --- result codes -----------------------------------------------------------
inline constexpr CoreStatus MakeDeviceResult(uint32_t code) {
  return static_cast<CoreStatus>(0x88760000u | code);
}
inline constexpr CoreStatus D3D_OK = 0;
inline constexpr CoreStatus E_FAIL = static_cast<CoreStatus>(0x80004005u);
inline constexpr CoreStatus E_NOTIMPL = static_cast<CoreStatus>(0x80004001u);
inline constexpr CoreStatus E_OUTOFMEMORY = static_cast<CoreStatus>(0x8007000Eu);
inline constexpr CoreStatus E_INVALIDARG = static_cast<CoreStatus>(0x80070057u);
inline constexpr CoreStatus D3DERR_OUTOFVIDEOMEMORY = MakeDeviceResult(380);
inline constexpr CoreStatus D3DERR_WRONGTEXTUREFORMAT = MakeDeviceResult(2072);
inline constexpr CoreStatus D3DERR_UNSUPPORTEDCOLOROPERATION = MakeDeviceResult(2073);
inline constexpr CoreStatus D3DERR_UNSUPPORTEDCOLORARG = MakeDeviceResult(2074);
inline constexpr CoreStatus D3DERR_UNSUPPORTEDALPHAOPERATION = MakeDeviceResult(2075);
inline constexpr CoreStatus D3DERR_UNSUPPORTEDALPHAARG = MakeDeviceResult(2076);
inline constexpr CoreStatus D3DERR_TOOMANYOPERATIONS = MakeDeviceResult(2077);
inline constexpr CoreStatus D3DERR_CONFLICTINGTEXTUREFILTER = MakeDeviceResult(2078);
inline constexpr CoreStatus D3DERR_UNSUPPORTEDFACTORVALUE = MakeDeviceResult(2079);
inline constexpr CoreStatus D3DERR_CONFLICTINGRENDERSTATE = MakeDeviceResult(2081);
inline constexpr CoreStatus D3DERR_UNSUPPORTEDTEXTUREFILTER = MakeDeviceResult(2082);
inline constexpr CoreStatus D3DERR_CONFLICTINGTEXTUREPALETTE = MakeDeviceResult(2086);
inline constexpr CoreStatus D3DERR_DRIVERINTERNALERROR = MakeDeviceResult(2087);
inline constexpr CoreStatus D3DERR_NOTFOUND = MakeDeviceResult(2150);
inline constexpr CoreStatus D3DERR_MOREDATA = MakeDeviceResult(2151);
inline constexpr CoreStatus D3DERR_DEVICELOST = MakeDeviceResult(2152);       // 0x88760868
inline constexpr CoreStatus D3DERR_DEVICENOTRESET = MakeDeviceResult(2153);   // 0x88760869
inline constexpr CoreStatus D3DERR_NOTAVAILABLE = MakeDeviceResult(2154);
inline constexpr CoreStatus D3DERR_INVALIDDEVICE = MakeDeviceResult(2155);
inline constexpr CoreStatus D3DERR_INVALIDCALL = MakeDeviceResult(2156);
inline constexpr CoreStatus D3DERR_DRIVERINVALIDCALL = MakeDeviceResult(2157);
inline constexpr CoreStatus D3DXERR_INVALIDDATA = MakeDeviceResult(2905);

// The version number the interface factory expects.
inline constexpr uint32_t D3D_SDK_VERSION = 220;

// --- formats ----------------------------------------------------------------
inline constexpr uint32_t MakeFourCC(char a, char b, char c, char d) {
  return uint32_t(uint8_t(a)) | uint32_t(uint8_t(b)) << 8 | uint32_t(uint8_t(c)) << 16 |
         uint32_t(uint8_t(d)) << 24;
}
inline constexpr uint32_t D3DFMT_UNKNOWN = 0;
inline constexpr uint32_t D3DFMT_R8G8B8 = 20;
inline constexpr uint32_t D3DFMT_A8R8G8B8 = 21;
inline constexpr uint32_t D3DFMT_X8R8G8B8 = 22;
inline constexpr uint32_t D3DFMT_R5G6B5 = 23;
inline constexpr uint32_t D3DFMT_X1R5G5B5 = 24;
inline constexpr uint32_t D3DFMT_A1R5G5B5 = 25;
inline constexpr uint32_t D3DFMT_A4R4G4B4 = 26;
inline constexpr uint32_t D3DFMT_R3G3B2 = 27;
inline constexpr uint32_t D3DFMT_A8 = 28;
inline constexpr uint32_t D3DFMT_A8R3G3B2 = 29;
inline constexpr uint32_t D3DFMT_X4R4G4B4 = 30;
inline constexpr uint32_t D3DFMT_D16_LOCKABLE = 70;
inline constexpr uint32_t D3DFMT_D32 = 71;
inline constexpr uint32_t D3DFMT_D15S1 = 73;
inline constexpr uint32_t D3DFMT_D24S8 = 75;
inline constexpr uint32_t D3DFMT_D24X8 = 77;
inline constexpr uint32_t D3DFMT_D24X4S4 = 79;
inline constexpr uint32_t D3DFMT_D16 = 80;
inline constexpr uint32_t D3DFMT_INDEX16 = 101;
inline constexpr uint32_t D3DFMT_INDEX32 = 102;
inline constexpr uint32_t D3DFMT_DXT1 = MakeFourCC('D', 'X', 'T', '1');

// --- resource creation ------------------------------------------------------
inline constexpr uint32_t D3DPOOL_DEFAULT = 0;
inline constexpr uint32_t D3DPOOL_MANAGED = 1;
inline constexpr uint32_t D3DPOOL_SYSTEMMEM = 2;
inline constexpr uint32_t D3DPOOL_SCRATCH = 3;

inline constexpr uint32_t D3DUSAGE_RENDERTARGET = 0x1;
inline constexpr uint32_t D3DUSAGE_DEPTHSTENCIL = 0x2;
inline constexpr uint32_t D3DUSAGE_WRITEONLY = 0x8;
inline constexpr uint32_t D3DUSAGE_SOFTWAREPROCESSING = 0x10;
inline constexpr uint32_t D3DUSAGE_DONOTCLIP = 0x20;
inline constexpr uint32_t D3DUSAGE_POINTS = 0x40;
inline constexpr uint32_t D3DUSAGE_DYNAMIC = 0x200;

inline constexpr uint32_t D3DLOCK_READONLY = 0x10;
inline constexpr uint32_t D3DLOCK_NOSYSLOCK = 0x800;
inline constexpr uint32_t D3DLOCK_NOOVERWRITE = 0x1000;
inline constexpr uint32_t D3DLOCK_DISCARD = 0x2000;

inline constexpr uint32_t D3DRTYPE_SURFACE = 1;
inline constexpr uint32_t D3DRTYPE_TEXTURE = 3;
inline constexpr uint32_t D3DRTYPE_VERTEXBUFFER = 6;
inline constexpr uint32_t D3DRTYPE_INDEXBUFFER = 7;

// --- device creation and presentation ---------------------------------------
inline constexpr uint32_t D3DADAPTER_DEFAULT = 0;
inline constexpr uint32_t D3DDEVTYPE_HAL = 1;
inline constexpr uint32_t D3DDEVTYPE_REF = 2;
inline constexpr uint32_t D3DDEVTYPE_SW = 3;

inline constexpr uint32_t D3DCREATE_FPU_PRESERVE = 0x02;
inline constexpr uint32_t D3DCREATE_MULTITHREADED = 0x04;
inline constexpr uint32_t D3DCREATE_PUREDEVICE = 0x10;
inline constexpr uint32_t D3DCREATE_SOFTWARE_VERTEXPROCESSING = 0x20;
inline constexpr uint32_t D3DCREATE_HARDWARE_VERTEXPROCESSING = 0x40;
inline constexpr uint32_t D3DCREATE_MIXED_VERTEXPROCESSING = 0x80;

inline constexpr uint32_t D3DSWAPEFFECT_DISCARD = 1;
inline constexpr uint32_t D3DSWAPEFFECT_FLIP = 2;
inline constexpr uint32_t D3DSWAPEFFECT_COPY = 3;
inline constexpr uint32_t D3DSWAPEFFECT_COPY_VSYNC = 4;

inline constexpr uint32_t D3DMULTISAMPLE_NONE = 0;
inline constexpr uint32_t D3DBACKBUFFER_TYPE_MONO = 0;
inline constexpr uint32_t D3DPRESENT_RATE_DEFAULT = 0;
inline constexpr uint32_t D3DPRESENT_INTERVAL_DEFAULT = 0;

inline constexpr uint32_t D3DCLEAR_TARGET = 0x1;
inline constexpr uint32_t D3DCLEAR_ZBUFFER = 0x2;
inline constexpr uint32_t D3DCLEAR_STENCIL = 0x4;

// --- drawing ------------------------------------------------------------------
inline constexpr uint32_t D3DPT_POINTLIST = 1;
inline constexpr uint32_t D3DPT_LINELIST = 2;
inline constexpr uint32_t D3DPT_LINESTRIP = 3;
inline constexpr uint32_t D3DPT_TRIANGLELIST = 4;
inline constexpr uint32_t D3DPT_TRIANGLESTRIP = 5;
inline constexpr uint32_t D3DPT_TRIANGLEFAN = 6;

// Flexible vertex format bits. The one layout the device draws is
// position + diffuse + two texture-coordinate sets (32 bytes).
inline constexpr uint32_t D3DFVF_XYZ = 0x002;
inline constexpr uint32_t D3DFVF_DIFFUSE = 0x040;
inline constexpr uint32_t D3DFVF_TEX2 = 0x200;
inline constexpr uint32_t kRenderVertexFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX2;  // 0x242
inline constexpr uint32_t kRenderVertexStride = 32;

// --- transforms ---------------------------------------------------------------
inline constexpr uint32_t D3DTS_VIEW = 2;
inline constexpr uint32_t D3DTS_PROJECTION = 3;
inline constexpr uint32_t D3DTS_TEXTURE0 = 16;
inline constexpr uint32_t D3DTS_TEXTURE7 = 23;
inline constexpr uint32_t D3DTS_WORLD = 256;
inline constexpr uint32_t D3DTS_WORLD3 = 259;

// --- render state ids -----------------------------------------------------------
inline constexpr uint32_t D3DRS_ZENABLE = 7;
inline constexpr uint32_t D3DRS_FILLMODE = 8;
inline constexpr uint32_t D3DRS_SHADEMODE = 9;
inline constexpr uint32_t D3DRS_LINEPATTERN = 10;
inline constexpr uint32_t D3DRS_ZWRITEENABLE = 14;
inline constexpr uint32_t D3DRS_ALPHATESTENABLE = 15;
inline constexpr uint32_t D3DRS_LASTPIXEL = 16;
inline constexpr uint32_t D3DRS_SRCBLEND = 19;
inline constexpr uint32_t D3DRS_DESTBLEND = 20;
inline constexpr uint32_t D3DRS_CULLMODE = 22;
inline constexpr uint32_t D3DRS_ZFUNC = 23;
inline constexpr uint32_t D3DRS_ALPHAREF = 24;
inline constexpr uint32_t D3DRS_ALPHAFUNC = 25;
inline constexpr uint32_t D3DRS_DITHERENABLE = 26;
inline constexpr uint32_t D3DRS_ALPHABLENDENABLE = 27;
inline constexpr uint32_t D3DRS_FOGENABLE = 28;
inline constexpr uint32_t D3DRS_SPECULARENABLE = 29;
inline constexpr uint32_t D3DRS_ZVISIBLE = 30;
inline constexpr uint32_t D3DRS_FOGCOLOR = 34;
inline constexpr uint32_t D3DRS_FOGTABLEMODE = 35;
inline constexpr uint32_t D3DRS_FOGSTART = 36;
inline constexpr uint32_t D3DRS_FOGEND = 37;
inline constexpr uint32_t D3DRS_FOGDENSITY = 38;
inline constexpr uint32_t D3DRS_EDGEANTIALIAS = 40;
inline constexpr uint32_t D3DRS_ZBIAS = 47;
inline constexpr uint32_t D3DRS_RANGEFOGENABLE = 48;
inline constexpr uint32_t D3DRS_STENCILENABLE = 52;
inline constexpr uint32_t D3DRS_STENCILFAIL = 53;
inline constexpr uint32_t D3DRS_STENCILZFAIL = 54;
inline constexpr uint32_t D3DRS_STENCILPASS = 55;
inline constexpr uint32_t D3DRS_STENCILFUNC = 56;
inline constexpr uint32_t D3DRS_STENCILREF = 57;
inline constexpr uint32_t D3DRS_STENCILMASK = 58;
inline constexpr uint32_t D3DRS_STENCILWRITEMASK = 59;
inline constexpr uint32_t D3DRS_TEXTUREFACTOR = 60;
inline constexpr uint32_t D3DRS_WRAP0 = 128;
inline constexpr uint32_t D3DRS_WRAP7 = 135;
inline constexpr uint32_t D3DRS_CLIPPING = 136;
inline constexpr uint32_t D3DRS_LIGHTING = 137;
inline constexpr uint32_t D3DRS_AMBIENT = 139;
inline constexpr uint32_t D3DRS_FOGVERTEXMODE = 140;
inline constexpr uint32_t D3DRS_COLORVERTEX = 141;
inline constexpr uint32_t D3DRS_LOCALVIEWER = 142;
inline constexpr uint32_t D3DRS_NORMALIZENORMALS = 143;
inline constexpr uint32_t D3DRS_DIFFUSEMATERIALSOURCE = 145;
inline constexpr uint32_t D3DRS_SPECULARMATERIALSOURCE = 146;
inline constexpr uint32_t D3DRS_AMBIENTMATERIALSOURCE = 147;
inline constexpr uint32_t D3DRS_EMISSIVEMATERIALSOURCE = 148;
inline constexpr uint32_t D3DRS_VERTEXBLEND = 151;
inline constexpr uint32_t D3DRS_CLIPPLANEENABLE = 152;
inline constexpr uint32_t D3DRS_SOFTWAREVERTEXPROCESSING = 153;
inline constexpr uint32_t D3DRS_POINTSIZE = 154;
inline constexpr uint32_t D3DRS_POINTSIZE_MIN = 155;
inline constexpr uint32_t D3DRS_POINTSPRITEENABLE = 156;
inline constexpr uint32_t D3DRS_POINTSCALEENABLE = 157;
inline constexpr uint32_t D3DRS_POINTSCALE_A = 158;
inline constexpr uint32_t D3DRS_POINTSCALE_B = 159;
inline constexpr uint32_t D3DRS_POINTSCALE_C = 160;
inline constexpr uint32_t D3DRS_MULTISAMPLEANTIALIAS = 161;
inline constexpr uint32_t D3DRS_MULTISAMPLEMASK = 162;
inline constexpr uint32_t D3DRS_PATCHEDGESTYLE = 163;
inline constexpr uint32_t D3DRS_PATCHSEGMENTS = 164;
inline constexpr uint32_t D3DRS_DEBUGMONITORTOKEN = 165;
inline constexpr uint32_t D3DRS_POINTSIZE_MAX = 166;
inline constexpr uint32_t D3DRS_INDEXEDVERTEXBLENDENABLE = 167;
inline constexpr uint32_t D3DRS_COLORWRITEENABLE = 168;
inline constexpr uint32_t D3DRS_TWEENFACTOR = 170;
inline constexpr uint32_t D3DRS_BLENDOP = 171;
inline constexpr uint32_t D3DRS_POSITIONORDER = 172;
inline constexpr uint32_t D3DRS_NORMALORDER = 173;
inline constexpr uint32_t kRenderStateLimit = 174;  // ids are below this

// --- render state values ----------------------------------------------------------
inline constexpr uint32_t D3DZB_FALSE = 0;
inline constexpr uint32_t D3DZB_TRUE = 1;
inline constexpr uint32_t D3DZB_USEW = 2;

inline constexpr uint32_t D3DFILL_POINT = 1;
inline constexpr uint32_t D3DFILL_WIREFRAME = 2;
inline constexpr uint32_t D3DFILL_SOLID = 3;

inline constexpr uint32_t D3DSHADE_FLAT = 1;
inline constexpr uint32_t D3DSHADE_GOURAUD = 2;

inline constexpr uint32_t D3DBLEND_ZERO = 1;
inline constexpr uint32_t D3DBLEND_ONE = 2;
inline constexpr uint32_t D3DBLEND_SRCCOLOR = 3;
inline constexpr uint32_t D3DBLEND_INVSRCCOLOR = 4;
inline constexpr uint32_t D3DBLEND_SRCALPHA = 5;
inline constexpr uint32_t D3DBLEND_INVSRCALPHA = 6;
inline constexpr uint32_t D3DBLEND_DESTALPHA = 7;
inline constexpr uint32_t D3DBLEND_INVDESTALPHA = 8;
inline constexpr uint32_t D3DBLEND_DESTCOLOR = 9;
inline constexpr uint32_t D3DBLEND_INVDESTCOLOR = 10;
inline constexpr uint32_t D3DBLEND_SRCALPHASAT = 11;
inline constexpr uint32_t D3DBLEND_BOTHSRCALPHA = 12;
inline constexpr uint32_t D3DBLEND_BOTHINVSRCALPHA = 13;

inline constexpr uint32_t D3DBLENDOP_ADD = 1;
inline constexpr uint32_t D3DBLENDOP_SUBTRACT = 2;
inline constexpr uint32_t D3DBLENDOP_REVSUBTRACT = 3;
inline constexpr uint32_t D3DBLENDOP_MIN = 4;
inline constexpr uint32_t D3DBLENDOP_MAX = 5;

inline constexpr uint32_t D3DCULL_NONE = 1;
inline constexpr uint32_t D3DCULL_CW = 2;
inline constexpr uint32_t D3DCULL_CCW = 3;

inline constexpr uint32_t D3DCMP_NEVER = 1;
inline constexpr uint32_t D3DCMP_LESS = 2;
inline constexpr uint32_t D3DCMP_EQUAL = 3;
inline constexpr uint32_t D3DCMP_LESSEQUAL = 4;
inline constexpr uint32_t D3DCMP_GREATER = 5;
inline constexpr uint32_t D3DCMP_NOTEQUAL = 6;
inline constexpr uint32_t D3DCMP_GREATEREQUAL = 7;
inline constexpr uint32_t D3DCMP_ALWAYS = 8;

inline constexpr uint32_t D3DSTENCILOP_KEEP = 1;
inline constexpr uint32_t D3DSTENCILOP_ZERO = 2;
inline constexpr uint32_t D3DSTENCILOP_REPLACE = 3;
inline constexpr uint32_t D3DSTENCILOP_INCRSAT = 4;
inline constexpr uint32_t D3DSTENCILOP_DECRSAT = 5;
inline constexpr uint32_t D3DSTENCILOP_INVERT = 6;
inline constexpr uint32_t D3DSTENCILOP_INCR = 7;
inline constexpr uint32_t D3DSTENCILOP_DECR = 8;

inline constexpr uint32_t D3DFOG_NONE = 0;
inline constexpr uint32_t D3DFOG_EXP = 1;
inline constexpr uint32_t D3DFOG_EXP2 = 2;
inline constexpr uint32_t D3DFOG_LINEAR = 3;

inline constexpr uint32_t D3DMCS_MATERIAL = 0;
inline constexpr uint32_t D3DMCS_COLOR1 = 1;
inline constexpr uint32_t D3DMCS_COLOR2 = 2;

inline constexpr uint32_t D3DCOLORWRITEENABLE_RED = 1;
inline constexpr uint32_t D3DCOLORWRITEENABLE_GREEN = 2;
inline constexpr uint32_t D3DCOLORWRITEENABLE_BLUE = 4;
inline constexpr uint32_t D3DCOLORWRITEENABLE_ALPHA = 8;

// --- texture stage state ids ---------------------------------------------------
inline constexpr uint32_t D3DTSS_COLOROP = 1;
inline constexpr uint32_t D3DTSS_COLORARG1 = 2;
inline constexpr uint32_t D3DTSS_COLORARG2 = 3;
inline constexpr uint32_t D3DTSS_ALPHAOP = 4;
inline constexpr uint32_t D3DTSS_ALPHAARG1 = 5;
inline constexpr uint32_t D3DTSS_ALPHAARG2 = 6;
inline constexpr uint32_t D3DTSS_BUMPENVMAT00 = 7;
inline constexpr uint32_t D3DTSS_BUMPENVMAT01 = 8;
inline constexpr uint32_t D3DTSS_BUMPENVMAT10 = 9;
inline constexpr uint32_t D3DTSS_BUMPENVMAT11 = 10;
inline constexpr uint32_t D3DTSS_TEXCOORDINDEX = 11;
inline constexpr uint32_t D3DTSS_ADDRESSU = 13;
inline constexpr uint32_t D3DTSS_ADDRESSV = 14;
inline constexpr uint32_t D3DTSS_BORDERCOLOR = 15;
inline constexpr uint32_t D3DTSS_MAGFILTER = 16;
inline constexpr uint32_t D3DTSS_MINFILTER = 17;
inline constexpr uint32_t D3DTSS_MIPFILTER = 18;
inline constexpr uint32_t D3DTSS_MIPMAPLODBIAS = 19;
inline constexpr uint32_t D3DTSS_MAXMIPLEVEL = 20;
inline constexpr uint32_t D3DTSS_MAXANISOTROPY = 21;
inline constexpr uint32_t D3DTSS_BUMPENVLSCALE = 22;
inline constexpr uint32_t D3DTSS_BUMPENVLOFFSET = 23;
inline constexpr uint32_t D3DTSS_TEXTURETRANSFORMFLAGS = 24;
inline constexpr uint32_t D3DTSS_ADDRESSW = 25;
inline constexpr uint32_t D3DTSS_COLORARG0 = 26;
inline constexpr uint32_t D3DTSS_ALPHAARG0 = 27;
inline constexpr uint32_t D3DTSS_RESULTARG = 28;
inline constexpr uint32_t kStageStateLimit = 29;  // ids are below this
inline constexpr uint32_t kMaxTextureStages = 8;   // stages the state table keeps
inline constexpr uint32_t kDrawnTextureStages = 4; // stages that take part in drawing

// --- texture stage values ----------------------------------------------------------
inline constexpr uint32_t D3DTOP_DISABLE = 1;
inline constexpr uint32_t D3DTOP_SELECTARG1 = 2;
inline constexpr uint32_t D3DTOP_SELECTARG2 = 3;
inline constexpr uint32_t D3DTOP_MODULATE = 4;
inline constexpr uint32_t D3DTOP_MODULATE2X = 5;
inline constexpr uint32_t D3DTOP_MODULATE4X = 6;
inline constexpr uint32_t D3DTOP_ADD = 7;
inline constexpr uint32_t D3DTOP_ADDSIGNED = 8;
inline constexpr uint32_t D3DTOP_ADDSIGNED2X = 9;
inline constexpr uint32_t D3DTOP_SUBTRACT = 10;
inline constexpr uint32_t D3DTOP_ADDSMOOTH = 11;
inline constexpr uint32_t D3DTOP_BLENDDIFFUSEALPHA = 12;
inline constexpr uint32_t D3DTOP_BLENDTEXTUREALPHA = 13;
inline constexpr uint32_t D3DTOP_BLENDFACTORALPHA = 14;
inline constexpr uint32_t D3DTOP_BLENDCURRENTALPHA = 16;

inline constexpr uint32_t D3DTA_SELECTMASK = 0x0F;
inline constexpr uint32_t D3DTA_DIFFUSE = 0;
inline constexpr uint32_t D3DTA_CURRENT = 1;
inline constexpr uint32_t D3DTA_TEXTURE = 2;
inline constexpr uint32_t D3DTA_TFACTOR = 3;
inline constexpr uint32_t D3DTA_SPECULAR = 4;
inline constexpr uint32_t D3DTA_COMPLEMENT = 0x10;
inline constexpr uint32_t D3DTA_ALPHAREPLICATE = 0x20;

inline constexpr uint32_t D3DTADDRESS_WRAP = 1;
inline constexpr uint32_t D3DTADDRESS_MIRROR = 2;
inline constexpr uint32_t D3DTADDRESS_CLAMP = 3;
inline constexpr uint32_t D3DTADDRESS_BORDER = 4;

inline constexpr uint32_t D3DTEXF_NONE = 0;
inline constexpr uint32_t D3DTEXF_POINT = 1;
inline constexpr uint32_t D3DTEXF_LINEAR = 2;
inline constexpr uint32_t D3DTEXF_ANISOTROPIC = 3;
inline constexpr uint32_t D3DTEXF_FLATCUBIC = 4;
inline constexpr uint32_t D3DTEXF_GAUSSIANCUBIC = 5;

inline constexpr uint32_t D3DTTFF_DISABLE = 0;
inline constexpr uint32_t D3DTTFF_COUNT2 = 2;

// --- lights -------------------------------------------------------------------------
inline constexpr uint32_t D3DLIGHT_POINT = 1;
inline constexpr uint32_t D3DLIGHT_SPOT = 2;
inline constexpr uint32_t D3DLIGHT_DIRECTIONAL = 3;

// --- image helpers (the utility-library replacements) -------------------------------
inline constexpr uint32_t D3DX_DEFAULT = 0xFFFFFFFFu;
inline constexpr uint32_t D3DX_FILTER_NONE = 1;
inline constexpr uint32_t D3DX_FILTER_POINT = 2;
inline constexpr uint32_t D3DX_FILTER_LINEAR = 3;
inline constexpr uint32_t D3DX_FILTER_TRIANGLE = 4;
inline constexpr uint32_t D3DX_FILTER_BOX = 5;

inline constexpr uint32_t D3DXIFF_BMP = 0;
inline constexpr uint32_t D3DXIFF_JPG = 1;
inline constexpr uint32_t D3DXIFF_TGA = 2;
inline constexpr uint32_t D3DXIFF_PNG = 3;
inline constexpr uint32_t D3DXIFF_DDS = 4;

}  // namespace platform::gfx
