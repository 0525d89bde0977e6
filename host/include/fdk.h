/*
 * fdk.h -- the host's plug-in interface.
 *
 * This is the one C interface between the host (qvhost and its object model) and a plug-in
 * module. The plug-in includes nothing else of the host. Every object is reached through an
 * F_ObjHandleT whose top byte is the object's kind; properties are read and written by
 * (document, object, property number). Getters hand over deep copies that the caller frees
 * with the matching deallocator; setters copy what they are given. A failing call sets
 * FA_errno and answers 0, NULL or an empty record; a success never clears FA_errno.
 *
 * It is the bottom of the plug-in's layers: it includes nothing of the plug-in, and every folder
 * may use it. Every host number (property, object kind, notification, error, value) is named here.
 *
 * Texts are UTF-8. Paths are in Windows form ("Z:\home\u\a.fm"; drive Z: is the root of the
 * host's file system, other drives may be mapped).
 */
#ifndef QV_FDK_H
#define QV_FDK_H

#include <stdint.h>
#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* ---------------------------------------------------------------------------------------------
 * Scalar types
 * ------------------------------------------------------------------------------------------- */

typedef int32_t IntT;
typedef uint32_t UIntT;
typedef uint8_t UByteT;
typedef int32_t BoolT;
typedef int32_t MetricT;      /* 16.16 fixed point: 65536 is 1 */
typedef double RealT;
typedef uint32_t F_ObjHandleT; /* kind in the top byte, 0 = none, the session is 0 */
typedef char *StringT;         /* zero-terminated UTF-8 on the host heap */
typedef const char *ConStringT;
typedef void *PtrT;

#define F_OBJ_KIND(id) ((IntT)(((UIntT)(id)) >> 24))

/* ---------------------------------------------------------------------------------------------
 * Records (length and array; the holder owns array and items)
 * ------------------------------------------------------------------------------------------- */

typedef struct { UIntT len; StringT *val; } F_StringsT;
typedef struct { UIntT len; IntT *val; } F_IntsT;
typedef struct { UIntT len; UIntT *val; } F_UIntsT;
typedef struct { UIntT len; MetricT *val; } F_MetricsT;

typedef struct {
    StringT name;
    F_StringsT values;
    UByteT valflags;
    UByteT allow;
} F_AttributeT;
typedef struct { UIntT len; F_AttributeT *val; } F_AttributesT;
/* An element met by F_ApiReadElements: what FP_ElementDef and FP_FirstChildElement answer for it. */
typedef struct {
    F_ObjHandleT elemId;
    F_ObjHandleT elemDefId;    /* 0: a text node */
    F_ObjHandleT firstChildId;
} F_ElementReadT;
/* Answers 0 to go on walking, anything else to stop there. */
typedef IntT (*F_ElementReadFnT)(const F_ElementReadT *elem, PtrT arg);
/* An attribute read in place (F_ApiReadAttributes): name and values point into the document,
   valid only during the call it is handed to. */
typedef struct {
    UIntT index;              /* its place in the list F_ApiGetAttributes makes */
    ConStringT name;
    UIntT valueCount;
    const ConStringT *values; /* valueCount values */
} F_AttributeReadT;
/* Answers 0 to go on reading, anything else to stop there. */
typedef IntT (*F_AttributeReadFnT)(const F_AttributeReadT *attr, PtrT arg);

/* Attribute types (attrType of F_AttributeDefT). 7, 8, 9 are fixed; the others are the host's. */
#define FV_AT_STRING 0
#define FV_AT_STRINGS 1
#define FV_AT_INTEGER 2
#define FV_AT_INTEGERS 3
#define FV_AT_REAL 4
#define FV_AT_REALS 5
#define FV_AT_CHOICE 6
#define FV_AT_UNIQUE_ID 7
#define FV_AT_UNIQUE_IDREF 8
#define FV_AT_UNIQUE_IDREFS 9

typedef struct {
    StringT name;
    IntT required;
    IntT readOnly;
    IntT attrType;
    F_StringsT choiceNames;
    F_StringsT defValues;
    StringT rangeMin;
    StringT rangeMax;
} F_AttributeDefT;
typedef struct { UIntT len; F_AttributeDefT *val; } F_AttributeDefsT;

/* Text items */
#define FTI_String 0x1
#define FTI_LineEnd 0x4
#define FTI_PgfBegin 0x8
#define FTI_PgfEnd 0x10
#define FTI_CharPropsChange 0x40
#define FTI_FnAnchor 0x1000
#define FTI_TblAnchor 0x2000
#define FTI_ElemPrefixBegin 0x8000000
#define FTI_ElemPrefixEnd 0x10000000

typedef struct {
    IntT offset;
    IntT dataType;   /* one FTI_ flag */
    StringT sdata;   /* FTI_String, FTI_ElemPrefix*: the text */
    F_ObjHandleT idata; /* anchors: the anchored object; FTI_PgfBegin, FTI_PgfEnd: the paragraph */
    IntT ldata;      /* FTI_LineEnd: 1 = forced */
} F_TextItemT;
typedef struct { UIntT len; F_TextItemT *val; } F_TextItemsT;

/* A text item read in place (F_ApiReadText): sdata points into the document's text, slen bytes,
   not terminated, valid only during the call it is handed to. */
typedef struct {
    IntT offset;
    IntT dataType;      /* one FTI_ flag */
    ConStringT sdata;   /* FTI_String: the characters */
    UIntT slen;         /* FTI_String: their bytes */
    F_ObjHandleT idata; /* as in F_TextItemT */
    IntT ldata;         /* as in F_TextItemT; FTI_String: 1 when the piece goes on with the string
                           item of the piece before it */
} F_TextPieceT;
/* Answers 0 to go on reading, anything else to stop there. */
typedef IntT (*F_TextPieceFnT)(const F_TextPieceT *piece, PtrT arg);

typedef struct { F_ObjHandleT objId; IntT offset; } F_TextLocT;
typedef struct { F_TextLocT beg; F_TextLocT end; } F_TextRangeT;
typedef struct { F_ObjHandleT parentId; F_ObjHandleT childId; IntT offset; } F_ElementLocT;
typedef struct { F_ElementLocT beg; F_ElementLocT end; } F_ElementRangeT;

/* End-of-text offset: {paragraph, it} is the end of the paragraph; {element, 0, it} the end of a
 * childless element's text. */
#define FV_OBJ_END_OFFSET 0x50000000

/* Typed values and property lists */
#define FT_Integer 1
#define FT_Metric 2
#define FT_String 3
#define FT_Id 4
#define FT_Strings 5
#define FT_Ints 6
#define FT_Metrics 7
#define FT_TextLoc 8
#define FT_TextRange 9
#define FT_ElementRange 10

typedef struct {
    IntT valType;        /* one FT_ code */
    IntT ival;           /* FT_Integer, FT_Metric, FT_Id */
    StringT sval;        /* FT_String */
    F_StringsT ssval;    /* FT_Strings */
    F_IntsT isval;       /* FT_Ints */
    F_MetricsT msval;    /* FT_Metrics */
    F_TextRangeT trval;  /* FT_TextLoc (beg only), FT_TextRange */
    F_ElementRangeT erval; /* FT_ElementRange */
} F_TypedValT;

typedef struct { IntT propIdent; F_TypedValT propVal; } F_PropValT;
typedef struct { UIntT len; F_PropValT *val; } F_PropValsT;

typedef struct { F_ObjHandleT objId; IntT flags; } F_ElementCatalogEntryT;
typedef struct { UIntT len; F_ElementCatalogEntryT *val; } F_ElementCatalogEntriesT;

/* Opaque file records */
typedef struct FilePathT FilePathT;
typedef struct DirHandleT DirHandleT;
typedef struct ChannelT ChannelT;
typedef struct DirHandleT *DirHandle;
typedef struct ChannelT *ChannelP;

/* ---------------------------------------------------------------------------------------------
 * Object kinds (top byte of an id; also the "type" argument of the named/new object calls)
 * ------------------------------------------------------------------------------------------- */

#define FO_Book 2
#define FO_BookComponent 3
#define FO_Doc 4
#define FO_BodyPage 5
#define FO_MasterPage 6
#define FO_RefPage 7
#define FO_OtherPage 8
#define FO_FirstGraphicKind 9  /* graphic objects are kinds 9-21 */
#define FO_Oval 13
#define FO_Rectangle 14
#define FO_Line 17
#define FO_TextLine 18
#define FO_TextFrame 19
#define FO_Inset 20
#define FO_Math 21
#define FO_LastGraphicKind 21
#define FO_AFrame 23
#define FO_Marker 24
#define FO_Fn 25
#define FO_XRef 26
#define FO_XRefFmt 27
#define FO_Var 28
#define FO_VarFmt 29
#define FO_Flow 30
#define FO_Pgf 31
#define FO_PgfFmt 32
#define FO_CharFmt 33
#define FO_CondFmt 34
#define FO_Color 35
#define FO_Tbl 36
#define FO_TblFmt 37
#define FO_Row 38
#define FO_Cell 39
#define FO_ElementDef 41
#define FO_Element 42
#define FO_DialogResource 43
#define FO_DlgGroupBox 45
#define FO_DlgButton 46
#define FO_DlgCheckBox 47
#define FO_DlgImage 48
#define FO_DlgScrollBox 49
#define FO_DlgTextBox 50
#define FO_DlgRadioButton 51
#define FO_DlgLabel 52
#define FO_DlgPopUp 53
#define FO_Menu 55
#define FO_Command 56
#define FO_MenuItemSeparator 57
#define FO_ClimbObject 65      /* climbed through 2200 on the way to a page */
#define FO_MarkerType 66

/* Element kinds (element 1636 = definition type 1579) */
#define FV_FO_CONTAINER 1
#define FV_FO_SYS_VAR 2
#define FV_FO_XREF 3
#define FV_FO_MARKER 4
#define FV_FO_FOOTNOTE 5
#define FV_FO_GRAPHIC 6
#define FV_FO_EQN 7
#define FV_FO_TBL 8
#define FV_FO_TBL_TITLE 9
#define FV_FO_TBL_HEADING 10
#define FV_FO_TBL_BODY 11
#define FV_FO_TBL_FOOTING 12
#define FV_FO_TBL_ROW 13
#define FV_FO_TBL_CELL 14

/* ---------------------------------------------------------------------------------------------
 * Property numbers, in numeric order. One number can mean different things on different kinds
 * (the host looks a property up by kind and number); each meaning has its own name here.
 * ------------------------------------------------------------------------------------------- */

#define FP_Name 20                      /* name of a flow, format, definition, menu, component */
#define FP_Path 20                      /* document, book: path, "" when untitled */
#define FP_PgfFmtName 20                /* paragraph: its paragraph format's name */
#define FP_Unique 21                    /* element, paragraph, graphic: unique id */
#define FP_UserString 22                /* element: the caller's own string */
#define FP_Label 30                     /* document window, dialog item, menu, command: label */
#define FP_Title 30                     /* dialog: title */
#define FP_IsInFront 32
#define FP_ScreenX 33                   /* document window: left */
#define FP_ScreenY 34                   /* document window: top */
#define FP_ScreenW 35                   /* document window: width */
#define FP_ScreenH 36                   /* document window: height */
#define FP_DlgX 33                      /* dialog: position x */
#define FP_DlgY 34                      /* dialog: position y */
#define FP_VersionMajor 43
#define FP_VersionMinor 44
#define FP_ActiveDoc 51
#define FP_ActiveBook 52
#define FP_FirstOpenDoc 53
#define FP_FirstOpenBook 54
#define FP_HostDir 87                   /* session: the host's installation folder */
#define FP_Displaying 91                /* session: display-update switches */
#define FP_DisplayUpdates 92
#define FP_DisplayRedraw 93
#define FP_FirstMenuItemInSession 97
#define FP_TextSelection 109
#define FP_IsOnScreen 110
#define FP_NextOpenDocInSession 111
#define FP_FirstGraphicInDoc 112
#define FP_FirstPgfInDoc 113
#define FP_FirstMarkerInDoc 114
#define FP_FirstVarFmtInDoc 116
#define FP_FirstXRefInDoc 117
#define FP_FirstXRefFmtInDoc 118
#define FP_FirstTblInDoc 120
#define FP_FirstFlowInDoc 121
#define FP_FirstPgfFmtInDoc 122
#define FP_FirstCharFmtInDoc 123
#define FP_FirstCondFmtInDoc 124
#define FP_FirstTblFmtInDoc 125
#define FP_FirstColorInDoc 127
#define FP_FirstSelectedGraphicInDoc 128
#define FP_SelectedTbl 129
#define FP_DocIsModified 131
#define FP_DocIsReport 133              /* document: set to 1 on a new report */
#define FP_FirstSelectedGraphicInDocAlt 141 /* second numbering of 128 */
#define FP_FirstMarkerTypeInDoc 148
#define FP_ShowAll 155                  /* document: show all conditional text */
#define FP_CondDisplay 156              /* document: second conditional-text display switch */
#define FP_CurrentPage 236
#define FP_DocSwitch1 382               /* document: cleared on a new report, copied to a duplicate */
#define FP_DocSwitch2 383
#define FP_DocMetric 387                /* document: copied to a duplicate */
#define FP_DocSwitch3 388
#define FP_FirstBodyPageInDoc 415
#define FP_FirstMasterPageInDoc 417
#define FP_FirstRefPageInDoc 419
#define FP_MainFlowInDoc 422
#define FP_NextOpenBookInSession 490
#define FP_FirstComponentInBook 491
#define FP_NextComponentInBook 527
#define FP_ComponentFlag 529
#define FP_ComponentText 532            /* component: "<none>" when it has no file of its own */
#define FP_Language 577                 /* session: interface language 1-38 */
#define FP_CharTag 602                  /* text: character format tag */
#define FP_TextFlag 609                 /* text: a flag over an element's text */
#define FP_ChangeBar 611                /* paragraph, text */
#define FP_PageNum 687                  /* page: number, 0-based */
#define FP_MasterPage 690               /* body page: name of its master page */
#define FP_PageNext 694
#define FP_PageNumString 696
#define FP_NextPgfInDoc 716
#define FP_NextPgfInFlow 717
#define FP_PrevPgfInFlow 718
#define FP_PgfNumString 719             /* paragraph: the text put in front of it */
#define FP_PgfFlag 722
#define FP_BorderWidth 740
#define FP_DotFlag 741                  /* graphic: cleared on dots */
#define FP_Pen 742
#define FP_Color 751                    /* text: colour (a colour id) */
#define FP_GraphicIsSelected 771
#define FP_FrameParent 774
#define FP_NextGraphicInFrame 776
#define FP_Angle 780
#define FP_LocX 781
#define FP_LocY 782
#define FP_Width 783
#define FP_Height 784
#define FP_NextSelectedGraphicInDoc 785
#define FP_NextGraphicInDoc 786
#define FP_InsetFile 852
#define FP_TextLoc 879                  /* marker: its text location */
#define FP_AnchorLoc 879                /* table, anchored frame: the anchor's location */
#define FP_PageFramePage 880            /* frame, graphic: its page */
#define FP_FirstGraphicInFrame 882
#define FP_Points 908
#define FP_FirstPgf 972                 /* text frame, cell, footnote: first paragraph */
#define FP_FirstPgfInTitle 972          /* table: first paragraph of the title */
#define FP_LastPgf 973                  /* text frame, cell, footnote: last paragraph */
#define FP_NextTextFrameInFlow 981
#define FP_FramePredecessor 982         /* text frame: the series start of a paragraph put first */
#define FP_InCell 1000                  /* paragraph: the cell holding it, 0 outside cells */
#define FP_ClimbParent 1000             /* cell, footnote: one step towards the page */
#define FP_InTextFrame 1001             /* paragraph, anchored frame, cell, text: its text frame */
#define FP_MarkerText 1025
#define FP_NextMarkerInDoc 1026
#define FP_MarkerTypeId 1027
#define FP_NextMarkerTypeInDoc 1028
#define FP_VarIsSystemVar 1049
#define FP_Fmt 1050                     /* variable format: definition text */
#define FP_NextVarFmtInDoc 1051
#define FP_XRefFile 1070
#define FP_TextRange 1071               /* element, cross-reference, variable: text range */
#define FP_NextXRefInDoc 1072
#define FP_XRefFmt 1073
#define FP_NextXRefFmtInDoc 1074
#define FP_XRefSrcText 1075
#define FP_XRefSrcAccess 1076           /* set to 1 before a cross-reference source is read */
#define FP_NextCondFmtInDoc 1138
#define FP_CondFmtIsShown 1139
#define FP_CondFmtColor 1140
#define FP_InCond 1150                  /* row, text: condition tags in force */
#define FP_NextFlowInDoc 1162
#define FP_FirstTextFrameInFlow 1169
#define FP_LastTextFrameInFlow 1170
#define FP_CellRow 1198
#define FP_NextCellInRow 1202
#define FP_CellColNum 1205
#define FP_PrevRowInTbl 1244
#define FP_NextRowInTbl 1245
#define FP_RowTbl 1246
#define FP_FirstCellInRow 1247
#define FP_RowType 1253
#define FP_RowIsCounted 1254            /* row: counted by the word count when not 0 */
#define FP_TblTag 1275                  /* table: the name of its table format */
#define FP_TblFmtName 1275              /* table format: its name */
#define FP_NextTblFmtInDoc 1276
#define FP_TblTitlePosition 1289
#define FP_NextTblInDoc 1337
#define FP_FirstRowInTbl 1338
#define FP_LastRowInTbl 1339
#define FP_TopRowSelection 1341
#define FP_BottomRowSelection 1342
#define FP_LeftColNum 1343
#define FP_RightColNum 1344
#define FP_TblColWidths 1345
#define FP_NextColorInDoc 1455
#define FP_FirstElementDefInDoc 1483
#define FP_ViewMode 1484                /* document: view mode */
#define FP_ElementColorShift 1484       /* element: when 1, colouring starts one character later */
#define FP_DocInsertSwitch 1491         /* document: saved, cleared and restored around a stylesheet insertion */
#define FP_ElementSelection 1494
#define FP_HighestLevelElement 1509
#define FP_ComponentElement 1551        /* component: the book element that stands for it */
#define FP_NextElementDefInDoc 1572
#define FP_ElementDefType 1579
#define FP_ElementDef 1621
#define FP_ParentElement 1622
#define FP_FirstChildElement 1623
#define FP_PrevSiblingElement 1625
#define FP_NextSiblingElement 1626
#define FP_BookComponent 1628           /* book element: the component it stands for */
#define FP_Object 1630
#define FP_ElementIdList 1631
#define FP_ElementSetUp 1635            /* element: set to 3 after a stylesheet element's set-up */
#define FP_ElementType 1636
#define FP_ValidationFlags 1668
#define FP_DlgText 1701
#define FP_DlgState 1702
#define FP_DlgLabels 1703
#define FP_DlgDoubleClick 1706
#define FP_DlgHighestItem 1707
#define FP_DlgSensitivity 1708
#define FP_DlgVisibility 1713
#define FP_NextMenuItemInSession 1925
#define FP_CommandNum 1928
#define FP_NextSelectedGraphicInDocAlt 2050 /* second numbering of 785 */
#define FP_GraphicIsSelectedAlt 2056    /* second numbering of 771 */
#define FP_ListedFlag 2151              /* on the ids of 1631: a flag */
#define FP_ElementAltName 2157          /* element: second name, shown as "tag(second)" */
#define FP_Element 2170                 /* graphic, table, row, cell: its element */
#define FP_ClimbToPage 2200             /* kind 65: one step towards a page */
#define FP_XmpPacket 2262
#define FP_FirstChildComponent 2324
#define FP_ParentComponent 2325
#define FP_ComponentType 2329
#define FP_NextComponentInBookOrder 2333
#define FP_DlgStatusReset 2344          /* dialog: cleared on the status box before it is shown */
#define FP_DlgIsOpen 2346

/* ---------------------------------------------------------------------------------------------
 * Notifications
 * ------------------------------------------------------------------------------------------- */

#define FA_Note_PostOpenDoc 2
#define FA_Note_PostOpenMIF 4
#define FA_Note_PreQuitDoc 11
#define FA_Note_ClientCall 13
#define FA_Note_PreQuitSession 26
#define FA_Note_PostQuitDoc 40
#define FA_Note_PreFunction 42
#define FA_Note_PostFunction 43
#define FA_Note_PreMouseCommand 44
#define FA_Note_PostMouseCommand 45
#define FA_Note_PreInsertElement 52
#define FA_Note_PostInsertElement 53
#define FA_Note_PostChangeElement 55
#define FA_Note_PostWrapElement 57
#define FA_Note_PostSetAttrValue 63
#define FA_Note_PostImportElemDefs 65
#define FA_Note_PostOpenSGML 83
#define FA_Note_PostOpenXML 96
#define FA_Note_PostActiveDocChange 105
#define FA_Note_Dialog_Create 127

/* ---------------------------------------------------------------------------------------------
 * Constants
 * ------------------------------------------------------------------------------------------- */

#define FV_DlgNoDismiss (-10000)   /* F_ApiReturnValue from a dialog event: keep the dialog up */
#define FV_DlgCloseBox (-1)        /* item number of a dialog's close box */
#define FV_DlgRefresh (-8)         /* item number of a host refresh request */

/* Alert types; the answer 0 means OK or Yes */
#define FF_ALERT_OK_DEFAULT 0
#define FF_ALERT_CANCEL_DEFAULT 1
#define FF_ALERT_CONTINUE_NOTE 2
#define FF_ALERT_CONTINUE_WARN 3
#define FF_ALERT_YES_DEFAULT 4
#define FF_ALERT_NO_DEFAULT 5

/* Function codes */
#define FV_FC_SAVE_AS 785
#define FV_FC_DISPLAY_REFRESH 920
#define FV_FC_BOOK_UPDATE 993
#define FV_FC_STRUCTURE_VIEW 4049
#define FV_FC_VIEW_MODE_1 4050
#define FV_FC_VIEW_MODE_OTHER 4061

/* Row types (row 1253) */
#define FV_ROW_HEADING 0
#define FV_ROW_BODY 1
#define FV_ROW_FOOTING 2

/* Book component types (component 2329) */
#define FV_BK_FOLDER 2
#define FV_BK_GROUP 64
#define FV_BK_DOC_FILE 512

/* Graphics */
#define FV_NoPen 15                /* pen (742): no pen */
#define FV_MetricOne 65536         /* a metric of 1 */

/* Host text */
#define FV_TextTab 0x08            /* a tab in host text */

/* Mouse commands: the top byte of FA_Note_PreMouseCommand's int is 1 for a double click */
#define FV_MouseDoubleClick 1

/* Resource item kinds of a dialog resource file (type 500) */
#define FV_RES_GroupBox 1
#define FV_RES_Button 2
#define FV_RES_PopUp 3
#define FV_RES_Label 4
#define FV_RES_CheckBox 5
#define FV_RES_ScrollList 8
#define FV_RES_TextBox 9
#define FV_RES_RadioButton 10

/* Element validation value (element 1668) that raises no notice */
#define FV_ElementValid 229376

/* Call flags */
#define FF_CLOSE_DIALOG 0          /* F_ApiClose of a dialog */
#define FF_CLOSE_MODIFIED 1        /* F_ApiClose of a document or book: no questions, even when modified */
#define FF_CLEAR_PLAIN 0           /* F_ApiClear */
#define FF_CLEAR_ALL 2
#define FF_CUT_PLAIN 2             /* F_ApiCut */
#define FF_COPY_PLAIN 0            /* F_ApiCopy */
#define FF_PASTE_PLAIN 0           /* F_ApiPaste */
#define FF_PASTE_OVER 32
#define FF_XRefsUpdateAll 7        /* F_ApiUpdateXRefs */
#define FF_ImportElemDefs 9        /* F_ApiSimpleImportElementDefs */
#define FF_ImportElemDefsAll 11
#define FF_ImportFormatsAll 50175  /* F_ApiSimpleImportFormats */
#define FF_NotifyOn 1              /* F_ApiNotification */

/* Rows and columns */
#define FV_Above 1240
#define FV_Below 1241
#define FV_Left 1242
#define FV_Right 1243

/* File records */
#define FDefaultPath 0
#define FDIPath 4
#define FNativePath 2      /* the real file system's own form (the plug-in's platform layer) */
#define FF_FilePathDirectory 0x100
#define FF_FilePathFile 0x200

/* Import status */
#define FV_BadImportFileType 17

/* Open and save parameter numbers the host acts on (the other numbers of the parameter lists
 * are answers the host keeps without acting on them) */
#define FS_MakeVisible 5           /* open: 0 opens out of sight */
#define FS_FileType 1              /* save: one FV_SaveFmt value */
#define FS_SaveFilterHint 16       /* save: text naming the filter of FV_SaveFmtFilter */
#define FS_SaveMarkupArgument 18   /* save: text handed to an XML or SGML save */
#define FS_FindText 1              /* F_ApiFind: the text to find */
#define FS_FindFlags 16            /* F_ApiFind: search options, 0 for none */

/* Save formats (save parameter 1) */
#define FV_SaveFmtBinary 0
#define FV_SaveFmtMIF 1
#define FV_SaveFmtText 6
#define FV_SaveFmtSGML 7
#define FV_SaveFmtFilter 8
#define FV_SaveFmtPdf 9
#define FV_SaveFmtXml 10

/* ---------------------------------------------------------------------------------------------
 * The error word
 * ------------------------------------------------------------------------------------------- */

extern IntT FA_errno;

/* Error codes the host sets (any non-zero value means failure to callers) */
#define FE_Success 0
#define FE_Transport (-1)
#define FE_NotPgf (-2)
#define FE_BadParameter (-3)
#define FE_BadDocId (-4)
#define FE_BadObjId (-5)
#define FE_BadPropNum (-6)
#define FE_BadPropType (-7)
#define FE_ReadOnly (-8)
#define FE_BadOperation (-9)
#define FE_BadName (-10)
#define FE_NotFound (-11)
#define FE_FileNotFound (-12)
#define FE_BadFileType (-13)
#define FE_FileRead (-14)
#define FE_FileWrite (-15)
#define FE_Canceled (-16)
#define FE_BadElementLoc (-17)
#define FE_BadSelection (-18)
#define FE_NotInStructure (-19)
#define FE_WrongKind (-20)
#define FE_Unsupported (-21)
#define FE_Duplicate (-22)
#define FE_NoMoreIds (-23)        /* every id of the object kind is used: no new object of it */
#define FE_Busy (-88)

/* ---------------------------------------------------------------------------------------------
 * Callbacks: exported by the plug-in, called by the host
 * ------------------------------------------------------------------------------------------- */

typedef void (*F_ApiInitializeFn)(IntT init);
typedef void (*F_ApiCommandFn)(IntT command);
typedef void (*F_ApiDialogEventFn)(IntT dlgNum, IntT itemNum, IntT modifiers);
typedef void (*F_ApiNotifyFn)(IntT notification, F_ObjHandleT docId, StringT sparm, IntT iparm);
typedef void *(*F_ApiGetResourceFn)(ConStringT name); /* the module's dialog resource text, or NULL */

typedef struct {
    ConStringT clientName;
    F_ApiInitializeFn initialize;
    F_ApiCommandFn command;
    F_ApiDialogEventFn dialogEvent;
    F_ApiNotifyFn notify;
    F_ApiGetResourceFn resource; /* returns a const char* resource text; may be NULL */
} F_ApiClientCallbacksT;

/* The module's exported entry; it registers its callbacks with F_ApiRegisterClient. */
void F_ApiClientInit(void);
/* Plug-in callbacks (defined by the plug-in module). */
void F_ApiInitialize(IntT init);
void F_ApiCommand(IntT command);
void F_ApiDialogEvent(IntT dlgNum, IntT itemNum, IntT modifiers);
void F_ApiNotify(IntT notification, F_ObjHandleT docId, StringT sparm, IntT iparm);

/* Host side of the binding */
IntT F_ApiRegisterClient(const F_ApiClientCallbacksT *callbacks);
void F_ApiReturnValue(IntT value);

/* ---------------------------------------------------------------------------------------------
 * Properties and named objects
 * ------------------------------------------------------------------------------------------- */

F_ObjHandleT F_ApiGetId(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop);
void F_ApiSetId(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop, F_ObjHandleT value);
IntT F_ApiGetInt(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop);
void F_ApiSetInt(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop, IntT value);
StringT F_ApiGetString(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop);
void F_ApiSetString(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop, ConStringT value);
F_StringsT F_ApiGetStrings(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop);
void F_ApiSetStrings(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop, const F_StringsT *value);
F_IntsT F_ApiGetInts(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop);
void F_ApiSetInts(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop, const F_IntsT *value);
MetricT F_ApiGetMetric(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop);
void F_ApiSetMetric(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop, MetricT value);
F_MetricsT F_ApiGetMetrics(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop);
void F_ApiSetMetrics(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop, const F_MetricsT *value);
void F_ApiSetPoints(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop, const F_IntsT *points);
F_TextRangeT F_ApiGetTextRange(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop);
void F_ApiSetTextRange(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop, const F_TextRangeT *value);
F_ElementRangeT F_ApiGetElementRange(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop);
void F_ApiSetElementRange(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop, const F_ElementRangeT *value);
F_TextLocT F_ApiGetTextLoc(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop);
F_PropValsT F_ApiGetProps(F_ObjHandleT docId, F_ObjHandleT objId);
void F_ApiSetProps(F_ObjHandleT docId, F_ObjHandleT objId, const F_PropValsT *props);
IntT F_ApiGetObjectType(F_ObjHandleT docId, F_ObjHandleT objId);
F_ObjHandleT F_ApiGetNamedObject(F_ObjHandleT docId, IntT objType, ConStringT name);
F_ObjHandleT F_ApiNewNamedObject(F_ObjHandleT docId, IntT objType, ConStringT name);
IntT F_ApiGetPropIndex(const F_PropValsT *props, IntT propNum);

/* ---------------------------------------------------------------------------------------------
 * Records and memory
 * ------------------------------------------------------------------------------------------- */

PtrT F_Alloc(UIntT size, IntT flags);
PtrT F_Realloc(PtrT ptr, UIntT size, IntT flags);
void F_Free(PtrT ptr);
#define NO_DSE 0

void F_ApiDeallocateString(StringT *str);
void F_ApiDeallocateStrings(F_StringsT *strs);
void F_ApiFreeIdList(F_UIntsT *ids);
void F_ApiFreeIntList(F_IntsT *ints);
void F_ApiFreeMetricList(F_MetricsT *metrics);
void F_ApiDeallocateAttributes(F_AttributesT *attrs);
void F_ApiDeallocateAttributeDefs(F_AttributeDefsT *defs);
void F_ApiDeallocateTextItems(F_TextItemsT *items);
void F_ApiDeallocatePropVals(F_PropValsT *props);
void F_ApiDeallocateElementCatalog(F_ElementCatalogEntriesT *entries);
F_StringsT F_ApiCopyStrings(const F_StringsT *strs);
F_UIntsT F_ApiCopyIdList(const F_UIntsT *ids);
F_AttributesT F_ApiCopyAttributeList(const F_AttributesT *attrs);
F_TextItemsT F_ApiCopyTextItemList(const F_TextItemsT *items);

/* ---------------------------------------------------------------------------------------------
 * Strings and encoding
 * ------------------------------------------------------------------------------------------- */

void F_FdeInit(void);
IntT F_FdeInitFontEncs(ConStringT encoding);
void F_ApiEnableUnicode(BoolT enable);
StringT F_StrCopyString(ConStringT s);
IntT F_StrCmp(ConStringT a, ConStringT b);
IntT F_StrICmp(ConStringT a, ConStringT b);
BoolT F_StrIsValidUTF8(ConStringT s);
IntT F_FontEncId(ConStringT encodingName);
void F_StrTruncEnc(StringT s, IntT nbytes, IntT encodingId);
IntT F_StrAlphaToInt(ConStringT s);
RealT F_StrToReal(ConStringT s);
IntT F_Sprintf(StringT buffer, ConStringT format, ...);
void F_Printf(ChannelP channel, ConStringT format, ...);

/* ---------------------------------------------------------------------------------------------
 * Text
 * ------------------------------------------------------------------------------------------- */

F_TextItemsT F_ApiGetText(F_ObjHandleT docId, F_ObjHandleT objId, IntT flags);
/* The items F_ApiGetText lists, of the same types and in the same order, handed to fn one by one
   without a list being made; a string item may come in several pieces (one per stretch of the
   document's text), each after the first marked by ldata 1. Answers 0 when every item was handed on, the value fn stopped with, or -1
   (FA_errno set) when the object cannot be read. */
IntT F_ApiReadText(F_ObjHandleT docId, F_ObjHandleT objId, IntT flags, F_TextPieceFnT fn, PtrT arg);
F_TextItemsT F_ApiGetTextForRange(F_ObjHandleT docId, const F_TextRangeT *range, IntT flags);
F_TextLocT F_ApiAddText(F_ObjHandleT docId, const F_TextLocT *loc, ConStringT text);
F_PropValT F_ApiGetTextPropVal(F_ObjHandleT docId, const F_TextLocT *loc, IntT prop);
void F_ApiSetTextPropVal(F_ObjHandleT docId, const F_TextRangeT *range, const F_PropValT *value);
void F_ApiSetTextProps(F_ObjHandleT docId, const F_TextRangeT *range, const F_PropValsT *props);
F_TextLocT F_ApiElementLocToTextLoc(F_ObjHandleT docId, const F_ElementLocT *loc);
F_ElementLocT F_ApiTextLocToElementLoc(F_ObjHandleT docId, const F_TextLocT *loc);
void F_ApiScrollToText(F_ObjHandleT docId, const F_TextRangeT *range);
F_ObjHandleT F_ApiNewSeriesObject(F_ObjHandleT docId, IntT objType, F_ObjHandleT prevId);
F_ObjHandleT F_ApiNewAnchoredObject(F_ObjHandleT docId, IntT objType, const F_TextLocT *loc);
F_ObjHandleT F_ApiNewAnchoredFormattedObject(F_ObjHandleT docId, IntT objType, ConStringT format,
                                             const F_TextLocT *loc);
IntT F_ApiUpdateXRefs(F_ObjHandleT docId, IntT flags);
F_TextRangeT F_ApiFind(F_ObjHandleT docId, const F_TextLocT *loc, const F_PropValsT *findParams);

/* ---------------------------------------------------------------------------------------------
 * Elements and structure
 * ------------------------------------------------------------------------------------------- */

F_ObjHandleT F_ApiNewElement(F_ObjHandleT docId, F_ObjHandleT elemDefId, const F_ElementLocT *loc);
void F_ApiDelete(F_ObjHandleT docId, F_ObjHandleT objId);
void F_ApiWrapElement(F_ObjHandleT docId, F_ObjHandleT elemDefId);
void F_ApiUnWrapElement(F_ObjHandleT docId);
void F_ApiPromoteElement(F_ObjHandleT docId);
void F_ApiDemoteElement(F_ObjHandleT docId);
/* Walks elements in document order, as FP_FirstChildElement, FP_NextSiblingElement and
   FP_ParentElement lead: from the element after fromId (from rootId itself when fromId is 0) to the
   end of rootId's subtree (rootId 0: the subtree of fromId's highest-level element), handing each
   to fn. Answers 0 when the walk ran out, the value fn stopped with (a later walk from the element
   it was handed last goes on from there), or -1 (FA_errno set) when an element cannot be read or
   fromId does not lie in rootId's subtree. */
IntT F_ApiReadElements(F_ObjHandleT docId, F_ObjHandleT rootId, F_ObjHandleT fromId, F_ElementReadFnT fn, PtrT arg);
F_AttributesT F_ApiGetAttributes(F_ObjHandleT docId, F_ObjHandleT elemId);
/* The attributes F_ApiGetAttributes lists, in the same order, handed to fn one by one without a
   list being made. Answers 0 when every attribute was handed on, the value fn stopped with, or -1
   (FA_errno set) when the element cannot be read. */
IntT F_ApiReadAttributes(F_ObjHandleT docId, F_ObjHandleT elemId, F_AttributeReadFnT fn, PtrT arg);
void F_ApiSetAttributes(F_ObjHandleT docId, F_ObjHandleT elemId, const F_AttributesT *attrs);
F_AttributeDefsT F_ApiGetAttributeDefs(F_ObjHandleT docId, F_ObjHandleT elemDefId);
void F_ApiDeleteInvalidAttribute(F_ObjHandleT docId, ConStringT name, IntT flags, F_ObjHandleT elemId);
F_ElementCatalogEntriesT F_ApiGetElementCatalog(F_ObjHandleT docId);
IntT F_ApiSimpleImportElementDefs(F_ObjHandleT toDocId, F_ObjHandleT fromDocId, IntT flags);
IntT F_ApiSimpleImportFormats(F_ObjHandleT toDocId, F_ObjHandleT fromDocId, IntT flags);

/* ---------------------------------------------------------------------------------------------
 * Clipboard
 * ------------------------------------------------------------------------------------------- */

IntT F_ApiCopy(F_ObjHandleT docId, IntT flags);
IntT F_ApiCut(F_ObjHandleT docId, IntT flags);
IntT F_ApiPaste(F_ObjHandleT docId, IntT flags);
IntT F_ApiClear(F_ObjHandleT docId, IntT flags);
IntT F_ApiSaveClipboard(void);
IntT F_ApiRestoreClipboard(void);

/* ---------------------------------------------------------------------------------------------
 * Tables
 * ------------------------------------------------------------------------------------------- */

F_ObjHandleT F_ApiNewTable(F_ObjHandleT docId, ConStringT format, IntT numCols, IntT numBodyRows,
                           IntT numHeaderRows, IntT numFooterRows, const F_TextLocT *loc);
IntT F_ApiAddRows(F_ObjHandleT docId, F_ObjHandleT refRowId, IntT direction, IntT numNewRows);
IntT F_ApiDeleteRows(F_ObjHandleT docId, F_ObjHandleT tblId, F_ObjHandleT delRowId, IntT numDelRows);
IntT F_ApiAddCols(F_ObjHandleT docId, F_ObjHandleT tblId, IntT refColNum, IntT direction, IntT numNewCols);
IntT F_ApiDeleteCols(F_ObjHandleT docId, F_ObjHandleT tblId, IntT delColNum, IntT numDelCols);

/* ---------------------------------------------------------------------------------------------
 * Documents and books
 * ------------------------------------------------------------------------------------------- */

F_PropValsT F_ApiGetOpenDefaultParams(void);
F_ObjHandleT F_ApiOpen(ConStringT fileName, const F_PropValsT *openParams, F_PropValsT **openReturnParams);
F_PropValsT F_ApiGetSaveDefaultParams(void);
F_ObjHandleT F_ApiSave(F_ObjHandleT docId, ConStringT saveAsName, const F_PropValsT *saveParams,
                       F_PropValsT **saveReturnParams);
F_ObjHandleT F_ApiSimpleSave(F_ObjHandleT docId, ConStringT saveAsName, IntT interactive);
IntT F_ApiClose(F_ObjHandleT objId, IntT flags);
F_PropValsT F_ApiGetImportDefaultParams(void);
F_ObjHandleT F_ApiImport(F_ObjHandleT docId, const F_TextLocT *loc, ConStringT fileName,
                         const F_PropValsT *importParams, F_PropValsT **importReturnParams);
F_PropValsT F_ApiGetUpdateBookDefaultParams(void);
IntT F_ApiUpdateBook(F_ObjHandleT bookId, const F_PropValsT *params, F_PropValsT **returnParams);
void F_ApiPrintFA_Errno(void);

/* ---------------------------------------------------------------------------------------------
 * Graphics and metrics
 * ------------------------------------------------------------------------------------------- */

F_ObjHandleT F_ApiNewGraphicObject(F_ObjHandleT docId, IntT objType, F_ObjHandleT parentId);
RealT F_MetricToReal(MetricT m);
MetricT F_RealToMetric(RealT r);
MetricT F_MetricScale(MetricT m, IntT multiplier, IntT divisor);

/* ---------------------------------------------------------------------------------------------
 * Dialogs and resources
 * ------------------------------------------------------------------------------------------- */

F_ObjHandleT F_ApiOpenResource(IntT resourceType, ConStringT resourceName);
F_ObjHandleT F_ApiDialogItemId(F_ObjHandleT dlgId, IntT itemNum);
IntT F_ApiModalDialog(IntT dlgNum, F_ObjHandleT dlgId);
IntT F_ApiModelessDialog(IntT dlgNum, F_ObjHandleT dlgId);

/* ---------------------------------------------------------------------------------------------
 * Alerts, prompts, choosers, Esc
 * ------------------------------------------------------------------------------------------- */

IntT F_ApiAlert(ConStringT message, IntT type);
IntT F_ApiUserCancel(void);
IntT F_ApiPromptString(StringT *answer, ConStringT message, ConStringT defaultValue);
IntT F_ApiChooseFile(StringT *choice, ConStringT title, ConStringT directory, ConStringT stuffVal,
                     IntT mode, ConStringT helpLink);
IntT F_ApiChooseFileExtended(StringT *choice, ConStringT title, ConStringT directory, ConStringT stuffVal,
                             IntT mode, ConStringT helpLink, ConStringT filter);

/* ---------------------------------------------------------------------------------------------
 * Menus, commands, function codes
 * ------------------------------------------------------------------------------------------- */

F_ObjHandleT F_ApiDefineMenu(ConStringT name, ConStringT label);
F_ObjHandleT F_ApiDefineAndAddMenu(F_ObjHandleT toMenuId, ConStringT name, ConStringT label);
IntT F_ApiAddMenuToMenu(F_ObjHandleT toMenuId, F_ObjHandleT menuId);
IntT F_ApiAddCommandToMenu(F_ObjHandleT toMenuId, F_ObjHandleT cmdId);
F_ObjHandleT F_ApiDefineCommandWithViews(IntT cmd, ConStringT name, ConStringT label, ConStringT shortcut,
                                         const F_StringsT *views);
F_ObjHandleT F_ApiDefineAndAddCommandWithViews(IntT cmd, F_ObjHandleT toMenuId, ConStringT name,
                                               ConStringT label, ConStringT shortcut, const F_StringsT *views);
IntT F_ApiFcodes(const F_IntsT *fcodes);

/* ---------------------------------------------------------------------------------------------
 * Notifications and client calls
 * ------------------------------------------------------------------------------------------- */

IntT F_ApiNotification(IntT notification, BoolT state);
IntT F_ApiCallClient(ConStringT clientName, ConStringT message);

/* ---------------------------------------------------------------------------------------------
 * Files and paths
 * ------------------------------------------------------------------------------------------- */

StringT F_ApiClientDir(void);
FilePathT *F_PathNameToFilePath(ConStringT pathName, const FilePathT *anchor, IntT platform);
StringT F_FilePathToPathName(const FilePathT *filePath, IntT platform);
void F_FilePathFree(FilePathT *filePath);
DirHandleT *F_FilePathOpenDir(const FilePathT *dir, IntT *status);
FilePathT *F_FilePathGetNext(DirHandleT *handle, IntT *status);
void F_FilePathCloseDir(DirHandleT *handle);
IntT F_FilePathProperty(const FilePathT *filePath, IntT flags);
IntT F_FilePathMakeDir(const FilePathT *filePath, IntT permissions);
ChannelT *F_ChannelOpen(const FilePathT *filePath, ConStringT mode);
IntT F_ChannelRead(PtrT buffer, IntT size, IntT count, ChannelT *channel);
IntT F_ChannelWrite(const void *buffer, IntT size, IntT count, ChannelT *channel);
BoolT F_ChannelEof(ChannelT *channel);
IntT F_ChannelClose(ChannelT *channel);

#ifdef __cplusplus
}
#endif

#endif /* QV_FDK_H */
