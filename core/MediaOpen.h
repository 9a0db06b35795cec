#pragma once
// Opening a media file through the media graph: the graph with its renderer, the after-open steps, the
// video's size and frame rate, and the geometry other opens reuse (aspect table, fitting, window sizing).

#include <string>

#include "platform/com/Unknown.h"
#include "platform/media/Interfaces.h"

// Which renderer the machine offers: 1009, 1007 or 1000; sets Vmr9Available / Vmr7Available.
int DetectRenderer();

// Plays FileName through a new graph (the caller has stopped the previous medium). Returns whether the file
// now plays: on failure nothing plays and PlayType and the flags are as they were.
bool OpenMediaFile(const std::string& FileName);

// The mixing renderer into the current GraphBuilder (windowless, two streams, clipped to the video panel).
bool CreateVmr9();
bool CreateVmr7();

// Renders the file into the graph and finishes the open; false when the render failed.
bool RenderMediaFile(const std::string& FileName);
com::HRESULT BuildRealMediaGraph(const std::u16string& FileName);
com::HRESULT AddFilterByClsid(dshow::IGraphBuilder* Graph, const com::CLSID& Clsid, const std::u16string& Name,
                              com::ComPtr<dshow::IBaseFilter>& Filter);
// The after-render steps of a file open; false when the graph does not run (nothing is then shown playing).
bool FinishMediaOpen();

void GetMediaVideoInfo(const std::u16string& FileName, double& FrameRate, int& Width, int& Height);

// The height-to-width ratio of each display-scale code (0, 1, 2, 4, -1).
void InitAspectTable();
// The size the picture of what is being opened is shown at (its shape is the ratio of code 0); an open
// that does not go through the media detector (a DVD) tells it here.
void SetNativeVideoSize(int Width, int Height);
double AspectForType(int Code);

// The largest rectangle of the code's aspect that fits W x H, centred.
void FitVideoRect(int Code, int W, int H, int& Left, int& Top, int& Width, int& Height);
void FitVideoInPanel(int& Left, int& Top, int& Width, int& Height);
// The placing procedures apply the rectangle as the renderer of a medium of PlayType takes it (the DVD's
// through the video window); without it, of the medium that plays (State.PlayType).
void PlaceVideoInWindow(int PlayType);
void PlaceVideoInWindow();
void ResizeMainToVideo(int& PanelWidth, int& PanelHeight);
void FitWindowToVideo(int PlayType);
void FitWindowToVideo();
void PlaceVideo(int PlayType);
void PlaceVideo();
void MaximizeIfVideoTooLarge();

bool SameGuid(const com::GUID& A, const com::GUID& B);

// True when the file's extension (from its last ".", any case) is .rm or .rmvb.
bool IsRealMediaFile(const std::string& FileName);
