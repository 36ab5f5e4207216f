// Icon pictures and the image list of animation frames.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "win32/icon_picture.h"
#include "framework/image_list.h"
#include "support/test_icons.h"

namespace kestrin {
namespace {

using test::MakeSolidIcon;
using test::MakeSplitIcon;
using test::PixelOf;
using test::RenderIcon;

HINSTANCE Self() { return GetModuleHandleA(nullptr); }

bool IsIcon(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return false;
    DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    return info.fIcon != FALSE;
}

TEST(IconPicture, StartsEmpty) {
    IconPicture picture;
    EXPECT_EQ(picture.Handle(), nullptr);
    EXPECT_TRUE(picture.Empty());
    EXPECT_EQ(picture.Size().cx, 0);
}

TEST(IconPicture, LoadsTheProgramIconAt32Pixels) {
    IconPicture picture;
    int changes = 0;
    picture.SetOnChange([&] { ++changes; });
    ASSERT_TRUE(picture.LoadResource(Self(), "MAINICON"));
    EXPECT_EQ(changes, 1);
    ASSERT_NE(picture.Handle(), nullptr);
    EXPECT_TRUE(IsIcon(picture.Handle()));
    EXPECT_EQ(picture.Size().cx, 32);
    EXPECT_EQ(picture.Size().cy, 32);
    ASSERT_TRUE(picture.LoadResource(Self(), "MAINICON2", 16));
    EXPECT_EQ(picture.Size().cx, 16);
    EXPECT_EQ(changes, 2);
}

TEST(IconPicture, FailedLoadChangesNothingAndTellsNobody) {
    IconPicture picture;
    ASSERT_TRUE(picture.LoadResource(Self(), "MAINICON"));
    const HICON before = picture.Handle();
    int changes = 0;
    picture.SetOnChange([&] { ++changes; });
    EXPECT_FALSE(picture.LoadResource(Self(), "NOSUCHICON"));
    EXPECT_EQ(picture.Handle(), before);
    EXPECT_EQ(changes, 0);
}

TEST(IconPicture, AssignMakesAnOwnCopyAndNotifies) {
    IconPicture source, target;
    ASSERT_TRUE(source.LoadResource(Self(), "MAINICON"));
    int changes = 0;
    target.SetOnChange([&] { ++changes; });
    target.Assign(source);
    EXPECT_EQ(changes, 1);
    ASSERT_NE(target.Handle(), nullptr);
    EXPECT_NE(target.Handle(), source.Handle()) << "a copy, not a shared handle";
    EXPECT_EQ(RenderIcon(target.Handle(), 32, RGB(0, 128, 0)), RenderIcon(source.Handle(), 32, RGB(0, 128, 0)));

    source.Clear();
    EXPECT_TRUE(IsIcon(target.Handle())) << "the copy outlives its source";

    target.Assign(source);  // an empty source empties the target
    EXPECT_TRUE(target.Empty());
    EXPECT_EQ(changes, 2);
}

TEST(IconPicture, AssignCopyTakesACopyOfAForeignIcon) {
    IconPicture picture;
    int changes = 0;
    picture.SetOnChange([&] { ++changes; });
    auto icon = MakeSolidIcon(16, RGB(255, 0, 0));
    picture.AssignCopy(icon.get());
    EXPECT_EQ(changes, 1);
    EXPECT_NE(picture.Handle(), icon.get());
    icon.reset();
    ASSERT_TRUE(IsIcon(picture.Handle()));
    EXPECT_EQ(RenderIcon(picture.Handle(), 16, RGB(0, 0, 0))[0], 0xFF0000u);
    picture.AssignCopy(nullptr);
    EXPECT_TRUE(picture.Empty());
    EXPECT_EQ(changes, 2);
}

TEST(IconPicture, ClearNotifiesEvenWhenAlreadyEmpty) {
    // The tray icon relies on this: clearing its picture always updates the tray.
    IconPicture picture;
    int changes = 0;
    bool emptyInHandler = false;
    picture.SetOnChange([&] {
        ++changes;
        emptyInHandler = picture.Empty();
    });
    ASSERT_TRUE(picture.LoadResource(Self(), "MAINICON"));
    picture.Clear();
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(emptyInHandler) << "the notice comes after the change";
    picture.Clear();
    EXPECT_EQ(changes, 3);
}

TEST(IconPicture, ReplacedIconIsFreed) {
    IconPicture picture;
    ASSERT_TRUE(picture.LoadResource(Self(), "MAINICON"));
    const HICON first = picture.Handle();
    ASSERT_TRUE(picture.LoadResource(Self(), "MAINICON2"));
    EXPECT_FALSE(IsIcon(first));
    const HICON second = picture.Handle();
    { IconPicture scoped; scoped.AssignCopy(second); }
    EXPECT_TRUE(IsIcon(second)) << "a copy's end does not touch the original";
}

TEST(ImageList, AddsCopiesOfIconsAndCounts) {
    ImageList list;
    EXPECT_EQ(list.Count(), 0);

    IconPicture main, other;
    ASSERT_TRUE(main.LoadResource(Self(), "MAINICON"));
    ASSERT_TRUE(other.LoadResource(Self(), "MAINICON2"));
    EXPECT_EQ(list.AddIcon(main.Handle()), 0);
    EXPECT_EQ(list.AddIcon(other.Handle()), 1);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.AddIcon(nullptr), -1);
    EXPECT_EQ(list.Count(), 2);

    // The list keeps its own images: the originals can go.
    main.Clear();
    other.Clear();
    IconHandle frame0 = list.CopyIcon(0), frame1 = list.CopyIcon(1);
    ASSERT_TRUE(frame0);
    ASSERT_TRUE(frame1);
    EXPECT_TRUE(IsIcon(frame0.get()));
    EXPECT_NE(RenderIcon(frame0.get(), 16, RGB(0, 128, 0)), RenderIcon(frame1.get(), 16, RGB(0, 128, 0)))
        << "two different frames";
}

TEST(ImageList, NamedImagesAreLoadedOnlyWhileTheListIsUsed) {
    ImageList named;
    EXPECT_EQ(named.AddIconResource(Self(), "MAINICON"), 0);
    EXPECT_EQ(named.AddIconResource(Self(), "MAINICON2"), 1);
    EXPECT_EQ(named.Count(), 2);
    EXPECT_FALSE(named.Loaded()) << "nothing is loaded before the first use";

    // The same pictures as icons loaded the usual way and added by handle.
    ImageList byHandle;
    byHandle.AddIcon(LoadIconA(Self(), "MAINICON"));
    byHandle.AddIcon(LoadIconA(Self(), "MAINICON2"));
    for (int round = 0; round < 2; ++round) {
        for (int index = 0; index < 2; ++index) {
            IconHandle frame = named.CopyIcon(index), expected = byHandle.CopyIcon(index);
            ASSERT_TRUE(frame) << "round " << round << " image " << index;
            EXPECT_EQ(RenderIcon(frame.get(), 16, RGB(0, 128, 0)), RenderIcon(expected.get(), 16, RGB(0, 128, 0)))
                << "round " << round << " image " << index;
        }
        EXPECT_TRUE(named.Loaded());
        named.Trim();
        EXPECT_FALSE(named.Loaded()) << "round " << round;
        EXPECT_EQ(named.Count(), 2) << "a trimmed list keeps its images";
    }

    // An image given by handle cannot be loaded again: that list stays.
    byHandle.Trim();
    EXPECT_TRUE(byHandle.Loaded());
    EXPECT_EQ(byHandle.Count(), 2);
}

TEST(ImageList, AMissingResourceGivesNoFrames) {
    ImageList list;
    list.AddIconResource(Self(), "NOSUCHICON");
    EXPECT_EQ(list.Count(), 1);
    EXPECT_FALSE(list.CopyIcon(0));
    EXPECT_FALSE(list.Loaded());
}

TEST(ImageList, EveryCopyIsANewIconOfTheListsSize) {
    ImageList list;
    auto icon = MakeSolidIcon(32, RGB(0, 0, 255));
    list.AddIcon(icon.get());
    std::set<HICON> handles;
    std::vector<IconHandle> copies;
    for (int i = 0; i < 3; ++i) {
        copies.push_back(list.CopyIcon(0));
        ASSERT_TRUE(copies.back());
        handles.insert(copies.back().get());
        IconPicture picture;
        picture.AssignCopy(copies.back().get());
        EXPECT_EQ(picture.Size().cx, 16);
        EXPECT_EQ(picture.Size().cy, 16);
    }
    EXPECT_EQ(handles.size(), 3u) << "the caller owns each copy";
    copies.erase(copies.begin());
    EXPECT_TRUE(IsIcon(copies.front().get())) << "destroying one copy leaves the others";
}

TEST(ImageList, IndexOutOfRangeGivesNothing) {
    ImageList list;
    auto icon = MakeSolidIcon(16, RGB(255, 0, 0));
    list.AddIcon(icon.get());
    EXPECT_FALSE(list.CopyIcon(-1));
    EXPECT_FALSE(list.CopyIcon(1));
    IconPicture picture;
    ASSERT_TRUE(picture.LoadResource(Self(), "MAINICON"));
    int changes = 0;
    picture.SetOnChange([&] { ++changes; });
    EXPECT_FALSE(list.CopyIcon(5, picture));
    EXPECT_FALSE(picture.Empty());
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(list.CopyIcon(0, picture));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(picture.Size().cx, 16);
}

TEST(ImageList, SixteenColourPicturesKeepTheirColours) {
    // The animation frames are 16-colour icons: each colour of the standard
    // palette must come back exactly, and opaque.
    const COLORREF palette[] = {RGB(0, 0, 0),     RGB(128, 0, 0),   RGB(0, 128, 0),   RGB(128, 128, 0),
                                RGB(0, 0, 128),   RGB(128, 0, 128), RGB(0, 128, 128), RGB(192, 192, 192),
                                RGB(128, 128, 128), RGB(255, 0, 0), RGB(0, 255, 0),   RGB(255, 255, 0),
                                RGB(0, 0, 255),   RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 255)};
    ImageList list;
    for (size_t i = 0; i + 1 < std::size(palette); i += 2) {
        auto icon = MakeSplitIcon(32, palette[i], palette[i + 1]);
        ASSERT_EQ(list.AddIcon(icon.get()), static_cast<int>(i / 2));
    }
    for (size_t i = 0; i + 1 < std::size(palette); i += 2) {
        SCOPED_TRACE(i);
        IconHandle copy = list.CopyIcon(static_cast<int>(i / 2));
        const auto pixels = RenderIcon(copy.get(), 16, RGB(1, 2, 3));
        EXPECT_EQ(pixels[2 * 16 + 2], PixelOf(palette[i]));
        EXPECT_EQ(pixels[13 * 16 + 13], PixelOf(palette[i + 1]));
    }
}

TEST(ImageList, DestroyObserversAreToldOnceAndTheListIsFreed) {
    auto list = std::make_unique<ImageList>();
    int first = 0, second = 0;
    list->AddDestroyObserver([&] { ++first; });
    const auto token = list->AddDestroyObserver([&] { ++second; });
    list->RemoveDestroyObserver(token);
    list.reset();
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 0);
}

}  // namespace
}  // namespace kestrin
