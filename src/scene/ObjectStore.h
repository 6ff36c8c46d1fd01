#pragma once

#include "platform/NonCopyable.h"
#include "scene/AnimationLibrary.h"
#include "scene/ModelLibrary.h"
#include "scene/ObjectList.h"

/// Owns every model, animation set and character of the program run: the model library,
/// the animation library and the list of characters.
///
/// The scene data model reaches the two libraries through a pair of program-wide
/// pointers; the store sets them (when given) on construction and sets them to null on
/// destruction, after everything it owns is gone, so a character or an animation set may
/// still use the libraries while it is being destroyed.
///
/// Destruction order: every character (in list order), then every animation-library
/// entry, then every model-library entry. Characters thus go before the animation sets
/// and models they refer to, and animation sets before the models they are bound to.
template <typename Model, typename Animation, typename Character>
class ObjectStore : private platform::NonCopyable {
public:
    /// sceneModelLibrary and sceneAnimationLibrary may be null (nothing is published).
    ObjectStore(ModelLibrary<Model>** sceneModelLibrary,
                AnimationLibrary<Animation>** sceneAnimationLibrary)
        : m_sceneModelLibrary(sceneModelLibrary), m_sceneAnimationLibrary(sceneAnimationLibrary) {
        if (m_sceneModelLibrary) {
            *m_sceneModelLibrary = &m_modelLibrary;
        }
        if (m_sceneAnimationLibrary) {
            *m_sceneAnimationLibrary = &m_animationLibrary;
        }
    }
    ObjectStore() : ObjectStore(nullptr, nullptr) {}

    virtual ~ObjectStore() {
        m_characters.Clear();
        m_animationLibrary.Entries().Clear();
        m_modelLibrary.Entries().Clear();
        if (m_sceneModelLibrary) {
            *m_sceneModelLibrary = nullptr;
        }
        if (m_sceneAnimationLibrary) {
            *m_sceneAnimationLibrary = nullptr;
        }
    }

    ModelLibrary<Model>& Models() { return m_modelLibrary; }
    AnimationLibrary<Animation>& Animations() { return m_animationLibrary; }
    ObjectList<Character>& Characters() { return m_characters; }

private:
    ModelLibrary<Model> m_modelLibrary;
    AnimationLibrary<Animation> m_animationLibrary;
    ObjectList<Character> m_characters;
    ModelLibrary<Model>** m_sceneModelLibrary;
    AnimationLibrary<Animation>** m_sceneAnimationLibrary;
};
