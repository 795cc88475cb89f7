#include "demo/demo_device.h"

#include "demo/demo_content.h"
#include "demo/demo_files.h"
#include "demo/gif_writer.h"
#include "demo/picture_encoder.h"
#include "demo/protected_pictures.h"
#include "demo/wav_writer.h"
#include "demo/wbmp_writer.h"

namespace demo {

namespace {

using Bytes = std::vector<std::uint8_t>;

const std::string kCamera = kCameraFolder;

Bytes Text(std::string_view text) {
    return {text.begin(), text.end()};
}

// Writes what an encoder made, or keeps its error when it made nothing.
void WriteEncoded(DemoFiles& files, const std::string& path, const Bytes& bytes,
                  const std::string& error, std::time_t mtime) {
    if (bytes.empty())
        files.Fail(error.empty() ? "cannot make " + path : error);
    else
        files.Write(path, bytes, mtime);
}

// Writes the camera JPEG unless it exists; drawing a 12-MP picture costs a second, so the
// existence check comes first.
void WriteCameraJpeg(DemoFiles& files, const std::string& folder, const CameraPicture& picture) {
    const std::string path = folder + "/" + picture.name;
    if (files.Exists(path))
        return;
    std::string error;
    const Bytes jpeg = MakeCameraJpeg(picture, error);
    WriteEncoded(files, path, jpeg, error, picture.taken);
}

// The other picture formats the gallery shows, and one JPEG cut short.
void WriteOtherPictures(DemoFiles& files) {
    std::string error;
    if (!files.Exists(kCamera + "/Animation.gif")) {
        const Bytes gif = EncodeAnimatedGif(BouncingBallFrames(240, 180, 8), 12, error);
        WriteEncoded(files, kCamera + "/Animation.gif", gif, error, DemoTime(37));
    }
    if (!files.Exists(kCamera + "/Badge.png")) {
        const Bytes png = EncodePixels(TransparentBadge(256, 256, "Badge.png"), EncodedFormat::Png,
                                       true, 0, error);
        WriteEncoded(files, kCamera + "/Badge.png", png, error, DemoTime(38));
    }
    if (!files.Exists(kCamera + "/Drawing.bmp")) {
        const Pixels pixels = DrawPicture(320, 240, Art::Shapes, 7, "Drawing.bmp", false);
        const Bytes bmp = EncodePixels(pixels, EncodedFormat::Bmp, false, 0, error);
        WriteEncoded(files, kCamera + "/Drawing.bmp", bmp, error, DemoTime(39));
    }
    if (!files.Exists(kCamera + "/Logo.wbmp")) {
        const Pixels pixels = OneBitLogo(128, 96, "Logo.wbmp");
        files.Write(kCamera + "/Logo.wbmp", EncodeWbmp(pixels), DemoTime(36));
    }
    if (!files.Exists(kCamera + "/HVC_0037.jpg")) {
        CameraPicture broken;
        broken.name = "HVC_0037.jpg";
        Bytes jpeg = MakeCameraJpeg(broken, error);
        if (jpeg.empty()) {
            files.Fail(error);
        } else {
            // Cut halfway through the EXIF segment right after SOI, as when a card was pulled
            // while the camera wrote: the picture itself never starts. A cut inside the picture
            // data would still decode, grey below the cut.
            const std::size_t segment = (std::size_t{jpeg[4]} << 8) | jpeg[5];
            jpeg.resize(4 + segment / 2);
            files.Write(kCamera + "/HVC_0037.jpg", jpeg, DemoTime(35));
        }
    }
}

// Protected files keep their media's extension (the gallery lists files by extension and asks
// the rights service whether one is protected); the content is a DRM message or a DCF.
void WriteProtectedPictures(DemoFiles& files) {
    struct Kind {
        const char* name;
        Bytes (*build)(const Bytes&);
    };
    const Kind kinds[] = {{"Protected forward lock.jpg", ForwardLockMessage},
                          {"Protected combined delivery.jpg", CombinedDeliveryMessage},
                          {"Protected separate delivery.jpg", SeparateDeliveryFile}};
    int step = 44;
    for (const Kind& kind : kinds) {
        const std::string path = kCamera + "/" + kind.name;
        ++step;
        if (files.Exists(path))
            continue;
        CameraPicture picture;
        picture.name = kind.name;
        picture.art = Art::Sunset;
        picture.variant = step;
        picture.taken = DemoTime(step);
        std::string error;
        const Bytes jpeg = MakeCameraJpeg(picture, error);
        const Bytes file = jpeg.empty() ? Bytes{} : kind.build(jpeg);
        WriteEncoded(files, path, file, error, picture.taken);
    }
    std::string error;
    if (!InstallSeparateDeliveryRights(error))
        files.Fail(error);
}

void WriteSoundsAndDocuments(DemoFiles& files) {
    const std::string music = "My Documents/My Music";
    files.Write(music + "/Tone A.wav", MakeWav({{440, 1.0}}), DemoTime(2));
    files.Write(music + "/Chime.wav", MakeWav({{784, 0.5}, {659, 0.5}, {523, 0.8}}), DemoTime(9));
    std::vector<Tone> scale;
    for (double f : {262.0, 294.0, 330.0, 349.0, 392.0, 440.0, 494.0, 523.0})
        scale.push_back({f, 0.25});
    files.Write(music + "/Scale.wav", MakeWav(scale), DemoTime(15));
    files.Write(kCamera + "/Voice memo.wav", MakeWav({{330, 0.4}, {0, 0.2}, {330, 0.4}}),
                DemoTime(20));

    const std::string notes = "My Documents/Notes";
    files.Write(notes + "/Shopping list.txt",
                Text("Shopping list\r\n- bread\r\n- apples\r\n- batteries for the camera\r\n"),
                DemoTime(4));
    files.Write(notes + "/Welcome.html",
                Text("<html><head><title>Welcome</title></head><body><h1>Welcome</h1>"
                     "<p>These pictures, sounds and notes were made for trying the gallery."
                     "</p></body></html>\r\n"),
                DemoTime(5));
    files.Write(
        kCamera + "/About these pictures.txt",
        Text("The pictures in this folder were drawn by the demo device generator.\r\n"
             "Some are turned by their EXIF orientation and some carry a GPS position.\r\n"),
        DemoTime(6));
}

}  // namespace

bool GenerateDemoDevice(const DemoOptions& options, std::string& error) {
    DemoFiles files(options.root);
    for (const CameraPicture& picture : CameraPictures(options.includeLargePictures))
        WriteCameraJpeg(files, kCamera, picture);
    WriteOtherPictures(files);
    WriteProtectedPictures(files);
    for (const FolderPicture& nested : NestedPictures()) {
        // A My Pictures linked to the user's own pictures folder is not ours to fill.
        if (!files.LeavesRoot(nested.folder))
            WriteCameraJpeg(files, nested.folder, nested.picture);
    }
    WriteSoundsAndDocuments(files);

    error = files.Error();
    if (!options.card.empty()) {
        DemoFiles card(options.card);
        for (const FolderPicture& picture : CardPictures())
            WriteCameraJpeg(card, picture.folder, picture.picture);
        if (error.empty())
            error = card.Error();
    }
    return error.empty();
}

}  // namespace demo
