// c_MyApp: the whole game as one application object, plus the game's
// module globals. Every field of every screen lives here so that pools and
// tables are allocated once, at full size, when the object is built.
#pragma once

#include "game/framework.h"
#include "game/helpers.h"

// Markers in element 0 of a display-list command; image numbers are >= 0.
const float LK_CMD_RECT = -3717.0f;
const float LK_CMD_OVAL = -3716.0f;
const float LK_CMD_LINE = -3715.0f;
const float LK_CMD_TRI = -3714.0f;
// Optional float arguments use this value for "not given"; touch slots that
// are up hold it as their position so they never land inside a hit box.
const float LK_ABSENT = -3717.0f;
const int LK_NO_TOUCH = -3717;

const int LK_CMD_FLOATS = 15;
const int LK_DRAWLIST_FLOATS = 37500;
// A command is dropped once the write position passes this.
const int LK_DRAWLIST_LAST = 37484;

class c_MyApp : public c_App, public c_IOnHttpRequestComplete {
 public:
  // Screen flow and layout
  int m_Screen = 0;
  int m_LoadStep = 0;
  int m_LastDevWidth = 0;
  int m_LastDevHeight = 0;
  int m_GameMode = 2;
  int m_InputStyle = 0;
  int m_Fullscreen = 0;
  int m_Loop = 0;
  float m_ScaleX = 0.0f;
  float m_ScaleY = 0.0f;
  int m_ScaleMode = 0;
  int m_Landscape = 0;
  int m_HDLevel = 0;
  float m_ImgScale = 0.0f;
  float m_ClsR = 0.0f, m_ClsG = 0.0f, m_ClsB = 0.0f, m_ClsA = 0.0f;
  float m_ViewX = 0.0f, m_ViewY = 0.0f, m_ViewW = 0.0f, m_ViewH = 0.0f;

  // Drawing state and the display list
  float m_SizeX = 0.0f, m_SizeY = 0.0f;
  float m_Rot = 0.0f;
  float m_ColR = 0.0f, m_ColG = 0.0f, m_ColB = 0.0f;
  float m_Alpha = 0.0f;
  int m_Blend = 0;
  int m_DrawCount = 0;
  Array<float> m_DrawList;
  Array<float> m_TriVerts;  // reused by the replay, so triangles allocate nothing
  int m_FontImg = 0;
  int m_ButtonHit = 0;

  // Timing
  int m_UpdateMillis = 0, m_UpdateFps = 0, m_UpdateFpsAvg = 0;
  int m_RenderMillis = 0, m_RenderFps = 0, m_RenderFpsAvg = 0;
  int m_ShowFps = 0;

  // Pointer, touch and on-screen controls
  int m_MouseX = 0, m_MouseY = 0;
  Array<int> m_TouchDown;
  Array<int> m_TouchX;
  Array<int> m_TouchY;
  int m_Touching = 0;
  int m_InputTaken = 0;
  int m_KeyLatch = 0;
  Array<int> m_Pad;
  int m_PadX = 0, m_PadY = 0;
  float m_PadScale = 0.0f;
  int m_PadGesture = -1;  // finger spread at the last two-finger update, -1: none
  float m_TiltZeroX = 0.0f, m_TiltZeroY = 0.0f;
  float m_TiltX = 0.0f, m_TiltY = 0.0f;
  float m_TiltShowX = 0.0f, m_TiltShowY = 0.0f;

  // Menus and dialogs
  int m_OptionsOpen = 0;
  int m_OptionsSlide = 0;
  int m_SidePanel = 0;
  float m_SidePanelX = 0.0f;
  int m_MenuSel = 0;
  float m_MenuScroll = 0.0f;
  float m_DialAngle = 0.0f;
  float m_DialSpeed = 0.0f;
  int m_MenuFocus = 0;
  int m_MenuIntro = 0;
  int m_TapTurn = 0;
  int m_DragX = 0, m_DragY = 0;
  float m_PanelLeft = 0.0f;
  float m_CreditScroll = 0.0f;
  int m_CreditLine = 0;
  float m_CogAngle = 0.0f;  // turn of the options cog at the dial's centre
  int m_OptSel = 0;
  int m_OptKeyLatch = 0;
  int m_OptTouchLatch = 0;
  int m_Paused = 0;
  int m_PauseSel = -1;
  int m_PauseY = -64;
  int m_PauseKey = 0;
  float m_GearAngle = 0.0f;
  float m_ToyArm = 0.0f, m_ToyPen = 0.0f, m_ToyHue = 0.0f;
  float m_ToySpeed = 25.0f;
  float m_ToyRadius = 25.0f;
  Array<float> m_PauseData;
  int m_ToyTrailSet = 0;  // 1 once this pause's ribbon has been started at the pen

  // Sound
  Array<c_Sound*> m_Sounds;
  Array<int> m_SfxChannels;
  int m_SfxSlot = 0;
  int m_MusicOn = 0;
  String m_LastTune;

  // Images and loading
  Array<c_Image*> m_Images;
  Array<int> m_ImgSize;
  int m_JingleDone = 0;
  int m_Spin = 0;

  // Saved data
  Array<int> m_Settings;
  Array<bool> m_Badges;
  Array<int> m_HiScores;

  // Check-in
  c_HttpRequest* m_Http = nullptr;
  int m_HttpDone = 0;
  String m_HttpReply;

  // Round
  Array<float> m_Players;
  Array<float> m_Trail;
  Array<float> m_Grid;
  Array<float> m_Objects;
  Array<float> m_Particles;
  int m_ParticleMax = 250;
  Array<float> m_Stars;
  int m_StarCount = 100;
  Array<int> m_GemSlots;
  int m_GemNext = 0, m_GemLast = 0;
  Array<int> m_BadgeShow;
  Array<int> m_BadgeShowTime;
  int m_Frame = 0;
  int m_RoundOver = 0;
  int m_Winner = 0;
  int m_LastScore = 0;
  float m_MoveX = 0.0f, m_MoveY = 0.0f;
  int m_OverTime = 0;
  int m_OverRecordable = 0;  // 1 when the finished round's score will enter its top ten
  float m_BgTargetR = 0.0f, m_BgTargetG = 0.0f, m_BgTargetB = 0.0f;
  float m_BgR = 0.0f, m_BgG = 0.0f, m_BgB = 0.0f;

  c_MyApp();
  c_MyApp* m_new();
  void mark() override;

  // Framework events and the main flow
  int p_OnCreate() override;
  int p_OnUpdate() override;
  int p_OnRender() override;
  int p_OnSuspend() override;
  int p_OnResume() override;
  int p_ScreenStep();
  int p_SlidePanels();
  int p_DebugLine();
  int p_FrameRate();
  int p_PauseRule();
  int p_FitScreen(int devWidth, int devHeight);
  int p_DeviceChanged(int devWidth, int devHeight);
  static int m_MeasureRate(int now, int& last, int& fps, int& avg);

  // Assets and loading
  int p_Reload();
  int p_Loader();
  int p_ResLevel();
  String p_ImgFile(String name);
  int p_LoadImg(int n, String name, int w, int h, int frames, int flags);
  int p_LoadFont(int n, String name, int advance, int lineHeight);
  int p_ReserveImg(int n, int width, int height);
  int p_WaitStart(int style);
  int p_LoadGame();

  // Display list, text and hit tests
  int p_ResetDraw();
  int p_CLS2D(float r = LK_ABSENT, float g = LK_ABSENT, float b = LK_ABSENT, float a = LK_ABSENT);
  int p_SetSize(float x, float y = LK_ABSENT);
  int p_SetRot(float angle);
  int p_Alpha(float a);
  int p_SetCol(float r, float g, float b, float a = LK_ABSENT);
  int p_Ink(int index, float brightness = 1.0f);
  int p_DrawImg(int image, float x, float y, float frame);
  int p_Rect(float x, float y, float w, float h);
  int p_Oval(float x, float y, float rx, float ry);
  int p_Line(float x1, float y1, float x2, float y2);
  int p_Tri(float x1, float y1, float x2, float y2, float x3, float y3);
  int p_Text(float x, float y, String text, float alignX, float alignY, int style);
  String p_rstr(int value, int width, String pad);
  int p_Button(int image, float x, float y, int frame);
  int p_Button(float x, float y, int frame);
  bool p_Button0(int image, float x, float y, int frame);
  int p_Touch(float x, float y, float w, float h);
  int p_Touch(float y, float w);
  int p_MouseIn(float x, float y, float w, float h);
  int p_MouseIn_Centered(float x, float y, float w, float h);
  int p_MouseIn_Radius(float x, float y, float w, float h);
  int p_Replay(float scale, float offX, float offY);
  float* p_NewCommand(float kind);
  int p_ButtonGlyph(int letter);

  // Pointer, touch and on-screen controls (steps of p_OnUpdate)
  int p_BackKeyStep();
  int p_PointerStep();
  int p_TouchStep();
  int p_ReleaseStep();
  int p_KeyLatchStep();
  int p_PadDecay();
  int p_OnScreenPad();
  int p_TiltIndicator();

  // Saved data
  int p_Save();
  int p_Load();
  int p_LoadMenu();
  String p_StateString();
  // Restores what is valid; returns how many sections failed their checksum.
  int p_ParseState(String state);
  int p_ParseSettings(Array<String>& parts, int& damaged);
  int p_CorrectSettings();
  int p_ParseBadges(Array<String>& parts, int start);
  int p_ParseRecords(Array<String>& parts, int start);

  // Check-in
  int p_GetURL(String url, String query);
  int p_OnHttpRequestComplete(c_HttpRequest* request) override;
  int p_PollCheckIn();

  // Music and effects
  String p_SfxFile(int n);
  int p_LoadSFX(int n);
  int p_PlaySFX(int n, float rate, float volume, float pan);
  int p_PlayTune(String name, int flags);
  int p_StopTune();

  // Player controls
  int p_PlayKey(int button, int mode, int controller);
  int p_BackKey(int button, int controller);
  bool p_PadBack();
  int p_PlayKeyAll(int button, int mode);
  float p_StickX(int stick, int controller);
  float p_StickY(int stick, int controller);
  static int m_WhichWayDoIGo(float from, float to, int lo, int hi);

  // Main menu
  int p_Menu();

  // Round, field objects, particles and background
  int p_Game();
  int p_Rand(float a, float b);
  int p_SeedRnd(int s);
  int p_ARock(float x, float y, float angle, int size);
  int p_APower(float x, float y, float angle, int type);
  int p_NewBag();
  int p_GetGem();
  int p_FreeObj(int n);
  int p_Shot(int player, float x, float y, float heading, float speed, float life);
  int p_UpdateObjects();
  int p_SteerComputer(int player);
  int p_ThrowParticle(float x, float y, int kind, int colour, float angle, float speed);
  int p_DoParticles(float scale);
  int p_FreeParticle();
  int p_ResetParticles(int n);
  int p_DoBG(int r, int g, int b, float alpha);
  int p_ResetStars(int n);

  // Score display, game over and badges
  int p_ScoreDisplay();
  int p_GameOver();
  String p_MyNth();
  String p_BadgeID(int id);
  String p_BadgeName(int id);
  String p_BadgeDetail(int id);
  int p_ShowBadges();

  // Options box, pause menu and quit dialog
  int p_OptionBox();
  int p_PauseMenu();
  int p_InGame();
  int p_OuyaQuit();
  int p_FullscreenFlip();
};

// Module globals of the game, set by bb_Larkspin_Init (called from bbInit).
extern float bb_Larkspin_rawscrw;
extern float bb_Larkspin_rawscrh;
extern float bb_Larkspin_jscrw;
extern float bb_Larkspin_jscrh;
extern float bb_Larkspin_overscan;
extern int bb_Larkspin_isOuya;
extern int bb_Larkspin_DebugMode;
extern int bb_Larkspin_UseHDImages;
extern int bb_Larkspin_HasMusicStream;
extern int bb_Larkspin_OnScreenControls;
extern int bb_Larkspin_AccelerometerControls;
extern int bb_Larkspin_FadeOutStyle;
extern int bb_Larkspin_GameNum;
extern int bb_Larkspin_J_On_Allow;
extern int bb_Larkspin_J_On_Able;
extern Array<String> bb_Larkspin_MenuSet;
extern Array<String> bb_Larkspin_CreditText;
extern String bb_Larkspin_CheckInPage;

// Sets the globals above to their start values and registers their marker.
int bb_Larkspin_Init();
