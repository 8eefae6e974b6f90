// The options dialog in GTK.
#include "platform/gtk/options_form.h"

#include <cmath>

#include "platform/gtk/audio_files_form.h"
#include "platform/gtk/captions_form.h"
#include "platform/gtk/gtk_system.h"
#include "platform/gtk/new_password_form.h"

namespace kolvane::gtk {

namespace {

struct SliderText {
    OptionSlider slider;
    const char* frame;
    const char* left;
    const char* right;
};

// Top to bottom.
constexpr SliderText slider_texts[] = {
    {OptionSlider::scene_length, "How Long To Display Each Scene", "Shorter", "Longer"},
    {OptionSlider::object_frequency, "Frequency Of Objects", "More", "Less"},
    {OptionSlider::caption_frequency, "Frequency Of Captions", "More", "Less"},
    {OptionSlider::audio_frequency, "Frequency Of Audio Files", "More", "Less"},
    {OptionSlider::frame_rate, "Animation Frame Rate", "Faster", "Slower"},
};

struct CheckText {
    OptionCheck check;
    const char* caption;
    const char* tip;
};

constexpr CheckText check_texts[] = {
    {OptionCheck::play_audio, "Play &Audio",
     " Place a check here to turn on any audio available during the screen saver "},
    {OptionCheck::display_time, "Display &Time",
     " Place a check here to display the time of day during the screen saver "},
    {OptionCheck::display_captions, "&Display Captions",
     " Place a check here to display any captions that are available during the screen saver "},
    {OptionCheck::save_as_wallpaper, "Save As &Wallpaper",
     " Place a check here to save a screen copy of the screen saver as wall paper when the screen saver exits "},
    {OptionCheck::large_backgrounds, large_backgrounds_caption, large_backgrounds_tip},
};

constexpr int slider_width = 240;

// A large button: its picture above its caption.
GtkWidget* picture_button(const std::string& picture, const char* caption, const char* tip) {
    GtkWidget* button = text_button(caption, tip);
    if (GdkPixbuf* pixels = load_picture(picture, true)) {
        gtk_button_set_image(GTK_BUTTON(button), gtk_image_new_from_pixbuf(pixels));
        g_object_unref(pixels);
        gtk_button_set_image_position(GTK_BUTTON(button), GTK_POS_TOP);
        gtk_button_set_always_show_image(GTK_BUTTON(button), TRUE);
    }
    return button;
}

}  // namespace

OptionsForm::OptionsForm(FormContext& context)
    : Form(context.system),
      context_(context),
      logic_(context.system, context.app.platform.store, context.app.settings, *this) {
    gtk_window_set_title(window(), options_caption);

    GtkWidget* controls = gtk_box_new(GTK_ORIENTATION_VERTICAL, 6);
    // The end labels of all five take the widest one's room, so the sliders line up.
    GtkSizeGroup* left_labels = gtk_size_group_new(GTK_SIZE_GROUP_HORIZONTAL);
    GtkSizeGroup* right_labels = gtk_size_group_new(GTK_SIZE_GROUP_HORIZONTAL);
    for (const SliderText& text : slider_texts) {
        GtkWidget* frame = gtk_frame_new(text.frame);
        GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 6);
        gtk_container_set_border_width(GTK_CONTAINER(row), 6);
        GtkWidget* scale = gtk_scale_new_with_range(GTK_ORIENTATION_HORIZONTAL, 1, 2, 1);
        // A scroll bar shows no number; small and large changes are both one step.
        gtk_scale_set_draw_value(GTK_SCALE(scale), FALSE);
        gtk_range_set_increments(GTK_RANGE(scale), 1, 1);
        gtk_range_set_round_digits(GTK_RANGE(scale), 0);
        gtk_widget_set_size_request(scale, slider_width, -1);
        GtkWidget* left = plain_label(text.left);
        GtkWidget* right = plain_label(text.right, 1.0f);
        gtk_size_group_add_widget(left_labels, left);
        gtk_size_group_add_widget(right_labels, right);
        gtk_box_pack_start(GTK_BOX(row), left, FALSE, FALSE, 0);
        gtk_box_pack_start(GTK_BOX(row), scale, TRUE, TRUE, 0);
        gtk_box_pack_start(GTK_BOX(row), right, FALSE, FALSE, 0);
        gtk_container_add(GTK_CONTAINER(frame), row);
        gtk_box_pack_start(GTK_BOX(controls), frame, FALSE, FALSE, 0);
        sliders_[static_cast<std::size_t>(text.slider)] = scale;
    }
    g_object_unref(left_labels);
    g_object_unref(right_labels);
    GtkWidget* ticks = gtk_grid_new();
    gtk_grid_set_column_spacing(GTK_GRID(ticks), 18);
    gtk_grid_set_column_homogeneous(GTK_GRID(ticks), TRUE);
    int place = 0;
    for (const CheckText& text : check_texts) {
        GtkWidget* tick = gtk_check_button_new_with_mnemonic(mnemonic_text(text.caption).c_str());
        gtk_widget_set_tooltip_text(tick, text.tip);
        gtk_grid_attach(GTK_GRID(ticks), tick, place % 2, place / 2, 1, 1);
        checks_[static_cast<std::size_t>(text.check)] = tick;
        ++place;
    }
    // The object size beside the last check box.
    GtkWidget* size_row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 6);
    object_size_ = gtk_combo_box_text_new();
    for (const char* item : object_size_items) gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(object_size_), item);
    gtk_widget_set_tooltip_text(object_size_, object_size_tip);
    GtkWidget* size_label = gtk_label_new_with_mnemonic(mnemonic_text(object_size_caption).c_str());
    gtk_label_set_mnemonic_widget(GTK_LABEL(size_label), object_size_);
    gtk_box_pack_start(GTK_BOX(size_row), size_label, FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(size_row), object_size_, FALSE, FALSE, 0);
    gtk_grid_attach(GTK_GRID(ticks), size_row, place % 2, place / 2, 1, 1);
    gtk_box_pack_start(GTK_BOX(controls), ticks, FALSE, FALSE, 4);

    const std::string pictures = context.pictures + "/buttons/";
    GtkWidget* audio = picture_button(pictures + "audio.bmp", "&Edit Audio Files",
                                      " Click here to edit the list of audio files that will play during the screen saver ");
    GtkWidget* captions = picture_button(
        pictures + "captions.bmp", "Edit &Captions",
        " Click here to edit the list of captions that will be displayed during the screen saver ");
    GtkWidget* password = picture_button(pictures + "password.bmp", "&Password",
                                         " Click here to change the password for this screen saver ");
    GtkWidget* ok = picture_button(pictures + "ok.bmp", "&Ok", " Click here to exit this menu ");
    on_signal(audio, "clicked", [this] { logic_.Command8_Click(); });
    on_signal(captions, "clicked", [this] { logic_.Command7_Click(); });
    on_signal(password, "clicked", [this] { logic_.Command2_Click(); });
    on_signal(ok, "clicked", [this] { logic_.Command1_Click(); });
    GtkWidget* buttons = gtk_box_new(GTK_ORIENTATION_VERTICAL, 6);
    gtk_box_set_homogeneous(GTK_BOX(buttons), TRUE);
    for (GtkWidget* button : {audio, captions, password, ok}) gtk_box_pack_start(GTK_BOX(buttons), button, TRUE, TRUE, 0);

    GtkWidget* sides = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 12);
    gtk_container_set_border_width(GTK_CONTAINER(sides), 12);
    gtk_box_pack_start(GTK_BOX(sides), controls, TRUE, TRUE, 0);
    gtk_box_pack_start(GTK_BOX(sides), buttons, FALSE, FALSE, 0);
    gtk_container_add(GTK_CONTAINER(window_), sides);
}

void OptionsForm::run(GtkWindow* parent) {
    logic_.Form_Load();
    // The first slider has the focus, as the first control in the tab order.
    gtk_widget_grab_focus(sliders_[static_cast<std::size_t>(OptionSlider::scene_length)]);
    run_modal(parent);
}

void OptionsForm::unload() {
    // Ok and the title-bar close alike; a failed save keeps the dialog open.
    if (!ended() && logic_.Form_Unload()) end();
}

void OptionsForm::set_slider_range(OptionSlider slider, int low, int high) { gtk_range_set_range(range(slider), low, high); }

void OptionsForm::set_slider(OptionSlider slider, int value) { gtk_range_set_value(range(slider), value); }

int OptionsForm::slider(OptionSlider slider) { return static_cast<int>(std::lround(gtk_range_get_value(range(slider)))); }

void OptionsForm::set_check(OptionCheck check, bool ticked) { gtk_toggle_button_set_active(toggle(check), ticked); }

bool OptionsForm::check(OptionCheck check) { return gtk_toggle_button_get_active(toggle(check)) != FALSE; }

void OptionsForm::set_choice(OptionChoice, int index) { gtk_combo_box_set_active(GTK_COMBO_BOX(object_size_), index); }

int OptionsForm::choice(OptionChoice) { return gtk_combo_box_get_active(GTK_COMBO_BOX(object_size_)); }

void OptionsForm::show_audio_files() {
    AudioFilesForm audio(context_);
    audio.run(window());
}

void OptionsForm::show_captions() {
    CaptionsForm captions(context_);
    captions.run(window());
}

void OptionsForm::show_new_password() {
    NewPasswordForm password(context_);
    password.run(window());
}

}  // namespace kolvane::gtk
