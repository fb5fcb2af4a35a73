// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Form descriptions of transition lists, as the effect catalogue is written:
//
//     object Trans: TTransitionList
//       object SlowAlpha: TBlendTransition
//         FlickerFreeWhenDisabled = True
//         Pass2Options.UseSolidColor = False
//       end
//     end
//
// Each nested object is created by class name through the class registry; listed properties are
// set by name (sub-objects by a dotted path), unlisted ones keep their defaults. Keywords, class,
// property and enumeration names are read in any letter case, as the form system reads them;
// component names are unique in any letter case. Values: whole numbers (decimal or "$" and
// hexadecimal) within the property's range, True/False, enumeration names, colour texts for
// colour (ColorRef) properties (clWhite, $00FFFFFF), 'quoted strings'.

#include <QObject>
#include <QString>

namespace lumetta {

class TTransitionList;

// Reads a description whose root is a TTransitionList into List: List takes its name and each
// nested effect, owned by Owner (List when null), is appended in description order. A malformed
// description throws TransitionError naming the line and adds nothing to List.
void ReadTransitionList(const QString &text, TTransitionList *list, QObject *owner = nullptr);

// As ReadTransitionList, from a file or resource path; an unreadable file, one that is not a
// regular file or one larger than a megabyte throws TransitionError.
void ReadTransitionListFile(const QString &path, TTransitionList *list, QObject *owner = nullptr);

// Sets the published property Name (a dotted path for sub-objects) of Object from its text as it
// stands in a description. Throws TransitionError naming the property for an unknown or
// unpublished one (objectName), a bad value or a number outside the property's range
// (TTransitionEffect::PropertyRange, else the type's).
void SetPropertyFromText(QObject *object, const QString &name, const QString &value);

// "PROPERTY=VALUE", as tools take it, blanks around either part ignored.
void SetPropertyFromAssignment(QObject *object, const QString &assignment);

// A colour text: a plain colour name as spelled (clBlack ... clWhite), "$" and 1 to 8 hexadecimal
// digits, or a decimal number.
bool ColorFromText(const QString &text, int &color);

}  // namespace lumetta
