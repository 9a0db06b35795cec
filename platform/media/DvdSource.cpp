#include "platform/media/DvdSource.h"

#include <atomic>
#include <cstring>

#include <gst/video/video.h>

namespace dshow {

namespace {

struct SourceState {
    std::shared_ptr<DvdNavigator> navigator;
    std::function<void(GstEvent*)> overlay;
    // Streaming thread, or the thread that holds the pad's stream lock.
    bool streamStarted = false;
    bool needSegment = true;
};

struct DvdSrc {
    GstElement element;
    GstPad* pad;
    SourceState* state;
};

struct DvdSrcClass {
    GstElementClass parent;
};

GstElementClass* parentClass = nullptr;

GstStaticPadTemplate sourceTemplate =
    GST_STATIC_PAD_TEMPLATE("src", GST_PAD_SRC, GST_PAD_ALWAYS,
                            GST_STATIC_CAPS("video/mpeg, mpegversion=(int)2, systemstream=(boolean)true"));

DvdSrc* SourceOf(GstPad* Pad) {
    return reinterpret_cast<DvdSrc*>(GST_PAD_PARENT(Pad));
}

GstEvent* DvdEvent(GstStructure* Structure) {
    return gst_event_new_custom(GST_EVENT_CUSTOM_DOWNSTREAM_OOB, Structure);
}

// The overlay's side of a step: palette, highlight, forced pictures only.
void TellOverlay(SourceState& S, const DvdStep& Step) {
    if (!S.overlay)
        return;
    if (Step.Palette) {
        GstStructure* s = gst_structure_new("application/x-gst-dvd", "event", G_TYPE_STRING,
                                            "dvd-spu-clut-change", nullptr);
        for (int i = 0; i < 16; ++i) {
            char name[16];
            std::snprintf(name, sizeof name, "clut%02d", i);
            gst_structure_set(s, name, G_TYPE_INT,
                              static_cast<gint>((*Step.Palette)[static_cast<std::size_t>(i)]), nullptr);
        }
        S.overlay(DvdEvent(s));
    }
    if (Step.ForcedOnly)
        S.overlay(DvdEvent(gst_structure_new("application/x-gst-dvd", "event", G_TYPE_STRING,
                                             "dvd-set-subpicture-track", "forced-only", G_TYPE_BOOLEAN,
                                             *Step.ForcedOnly ? TRUE : FALSE, nullptr)));
    if (Step.NewHighlight) {
        const DvdStep::Highlight& h = *Step.NewHighlight;
        if (h.Button == 0)
            S.overlay(DvdEvent(gst_structure_new("application/x-gst-dvd", "event", G_TYPE_STRING,
                                                 "dvd-spu-reset-highlight", nullptr)));
        else
            S.overlay(DvdEvent(gst_structure_new(
                "application/x-gst-dvd", "event", G_TYPE_STRING, "dvd-spu-highlight", "button", G_TYPE_INT,
                h.Button, "palette", G_TYPE_INT, static_cast<gint>(h.Palette), "sx", G_TYPE_INT, h.Left, "sy",
                G_TYPE_INT, h.Top, "ex", G_TYPE_INT, h.Right, "ey", G_TYPE_INT, h.Bottom, nullptr)));
    }
}

void Loop(gpointer Data) {
    auto* pad = static_cast<GstPad*>(Data);
    DvdSrc* self = SourceOf(pad);
    SourceState& s = *self->state;
    if (!s.streamStarted) {
        gchar* id = gst_pad_create_stream_id(pad, &self->element, nullptr);
        gst_pad_push_event(pad, gst_event_new_stream_start(id));
        g_free(id);
        GstCaps* caps = gst_static_pad_template_get_caps(&sourceTemplate);
        gst_pad_push_event(pad, gst_event_new_caps(caps));
        gst_caps_unref(caps);
        s.streamStarted = true;
    }
    if (s.needSegment) {
        GstSegment segment;
        gst_segment_init(&segment, GST_FORMAT_TIME);
        segment.rate = s.navigator->Rate();
        gst_pad_push_event(pad, gst_event_new_segment(&segment));
        s.needSegment = false;
    }

    DvdStep step = s.navigator->Read();
    TellOverlay(s, step);
    if (step.StillEnded)
        gst_pad_push_event(pad, gst_video_event_new_still_frame(FALSE));
    GstFlowReturn flow = GST_FLOW_OK;
    switch (step.kind) {
    case DvdStep::Kind::Interrupted:
        gst_pad_pause_task(pad);
        return;
    case DvdStep::Kind::Changes:
        return;
    case DvdStep::Kind::StillBegins:
        gst_pad_push_event(pad, gst_video_event_new_still_frame(TRUE));
        return;
    case DvdStep::Kind::Block: {
        GstBuffer* buffer = gst_buffer_new_allocate(nullptr, step.Data.size(), nullptr);
        gst_buffer_fill(buffer, 0, step.Data.data(), step.Data.size());
        flow = gst_pad_push(pad, buffer);
        break;
    }
    case DvdStep::Kind::End:
        gst_pad_push_event(pad, gst_event_new_eos());
        gst_pad_pause_task(pad);
        return;
    case DvdStep::Kind::Failed:
        GST_ELEMENT_ERROR(&self->element, STREAM, FAILED, ("%s", step.Reason.c_str()), (nullptr));
        gst_pad_push_event(pad, gst_event_new_eos());
        gst_pad_pause_task(pad);
        return;
    }
    if (flow == GST_FLOW_OK)
        return;
    // Flushing: a command is about to restart the stream; anything else ends it.
    gst_pad_pause_task(pad);
    if (flow == GST_FLOW_FLUSHING)
        return;
    if (flow < GST_FLOW_EOS)
        GST_ELEMENT_ERROR(&self->element, STREAM, FAILED,
                          ("the DVD's stream stopped: %s", gst_flow_get_name(flow)), (nullptr));
    gst_pad_push_event(pad, gst_event_new_eos());
}

gboolean ActivateMode(GstPad* Pad, GstObject*, GstPadMode Mode, gboolean Active) {
    if (Mode != GST_PAD_MODE_PUSH)
        return FALSE;
    DvdSrc* self = SourceOf(Pad);
    SourceState& s = *self->state;
    if (Active) {
        s.navigator->BeginRun();
        s.needSegment = true;
        return gst_pad_start_task(Pad, &Loop, Pad, nullptr);
    }
    // Wakes a still picture's wait; pushes already fail, the pad being inactive.
    s.navigator->Interrupt();
    return gst_pad_stop_task(Pad);
}

gboolean QueryPad(GstPad* Pad, GstObject* Parent, GstQuery* Query) {
    if (GST_QUERY_TYPE(Query) == GST_QUERY_SCHEDULING) {
        gst_query_set_scheduling(Query, GST_SCHEDULING_FLAG_SEQUENTIAL, 1, -1, 0);
        gst_query_add_scheduling_mode(Query, GST_PAD_MODE_PUSH);
        return TRUE;
    }
    return gst_pad_query_default(Pad, Parent, Query);
}

// Seeks, navigation and quality events from downstream are the navigator's business, not the stream's.
gboolean PadEvent(GstPad*, GstObject*, GstEvent* Event) {
    gst_event_unref(Event);
    return FALSE;
}

void Finalize(GObject* Object) {
    auto* self = reinterpret_cast<DvdSrc*>(Object);
    delete self->state;
    self->state = nullptr;
    G_OBJECT_CLASS(parentClass)->finalize(Object);
}

void ClassInit(gpointer Class, gpointer) {
    parentClass = static_cast<GstElementClass*>(g_type_class_peek_parent(Class));
    G_OBJECT_CLASS(Class)->finalize = &Finalize;
    auto* element = static_cast<GstElementClass*>(Class);
    gst_element_class_add_static_pad_template(element, &sourceTemplate);
    gst_element_class_set_static_metadata(element, "DVD navigator source", "Source/File/DVD",
                                          "Reads a DVD through the player's own navigator", "Quorel");
}

void InstanceInit(GTypeInstance* Instance, gpointer) {
    auto* self = reinterpret_cast<DvdSrc*>(Instance);
    self->state = new SourceState();
    self->pad = gst_pad_new_from_static_template(&sourceTemplate, "src");
    gst_pad_set_activatemode_function(self->pad, &ActivateMode);
    gst_pad_set_query_function(self->pad, &QueryPad);
    gst_pad_set_event_function(self->pad, &PadEvent);
    gst_element_add_pad(&self->element, self->pad);
}

GType DvdSrcType() {
    static const GType type =
        g_type_register_static_simple(GST_TYPE_ELEMENT, "QuorelDvdSource", sizeof(DvdSrcClass), &ClassInit,
                                      sizeof(DvdSrc), &InstanceInit, static_cast<GTypeFlags>(0));
    return type;
}

DvdSrc* AsSource(GstElement* Element) {
    if (Element == nullptr || !G_TYPE_CHECK_INSTANCE_TYPE(Element, DvdSrcType()))
        return nullptr;
    return reinterpret_cast<DvdSrc*>(Element);
}

} // namespace

GstElement* CreateDvdSource(std::shared_ptr<DvdNavigator> Navigator,
                            std::function<void(GstEvent*)> OverlayEvents) {
    auto* element = static_cast<GstElement*>(g_object_new(DvdSrcType(), nullptr));
    DvdSrc* self = AsSource(element);
    self->state->navigator = std::move(Navigator);
    self->state->overlay = std::move(OverlayEvents);
    return element;
}

bool DvdSourceJump(GstElement* Source, const std::function<bool()>& Command) {
    DvdSrc* self = AsSource(Source);
    if (self == nullptr)
        return Command();
    SourceState& s = *self->state;
    GstPad* pad = self->pad;
    if (!gst_pad_is_active(pad)) {
        const bool done = Command();
        s.navigator->BeginRun();
        s.needSegment = true;
        return done;
    }
    s.navigator->Interrupt();
    gst_pad_push_event(pad, gst_event_new_flush_start());
    GST_PAD_STREAM_LOCK(pad);
    const bool done = Command();
    s.navigator->BeginRun();
    gst_pad_push_event(pad, gst_event_new_flush_stop(TRUE));
    s.needSegment = true;
    gst_pad_start_task(pad, &Loop, pad, nullptr);
    GST_PAD_STREAM_UNLOCK(pad);
    return done;
}

} // namespace dshow
