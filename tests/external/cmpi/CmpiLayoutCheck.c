/*
 * Compile-time checks of the CMPI headers' binary layout. A CIM server calls a
 * module's tables by position and reads its records by offset, so every size,
 * offset and constant below is part of the interface. Sizes are written in
 * terms of the pointer size P: they hold in the 64-bit and the 32-bit build.
 */
#include <cmpidt.h>
#include <cmpift.h>

#include <stddef.h>

#ifdef __cplusplus
#define CHECK(expr) static_assert(expr, #expr)
#define ALIGNOF(type) alignof(type)
#else
#define CHECK(expr) _Static_assert(expr, #expr)
#define ALIGNOF(type) _Alignof(type)
#endif

#define P sizeof(void*)

/* Slot k (from 1) of a table whose function pointers start after a header of
 * H bytes. */
#define SLOT(type, member, k, header) CHECK(offsetof(type, member) == (header) + ((k)-1) * P)
/* Tables of the encapsulated types and of the broker: an int version, padded. */
#define ENC_SLOT(type, member, k) SLOT(type, member, k, P)
/* MI tables: two ints and the name. */
#define MI_SLOT(type, member, k) SLOT(type, member, k, 8 + P)

/* ---- scalar types ---- */
CHECK(sizeof(CMPIBoolean) == 1);
CHECK(sizeof(CMPIChar16) == 2);
CHECK(sizeof(CMPIUint8) == 1 && sizeof(CMPISint8) == 1);
CHECK(sizeof(CMPIUint16) == 2 && sizeof(CMPISint16) == 2);
CHECK(sizeof(CMPIUint32) == 4 && sizeof(CMPISint32) == 4);
CHECK(sizeof(CMPIUint64) == 8 && sizeof(CMPISint64) == 8);
CHECK(sizeof(CMPIReal32) == 4 && sizeof(CMPIReal64) == 8);
CHECK(sizeof(CMPIType) == 2);
CHECK(sizeof(CMPIValueState) == 2);
CHECK(sizeof(CMPICount) == 4);
CHECK(sizeof(CMPIrc) == 4);
CHECK(sizeof(CMPIFlags) == 4);
CHECK(sizeof(CMPIMsgFileHandle) == P);

/* ---- records ---- */
CHECK(sizeof(CMPIValuePtr) == 2 * P);
CHECK(offsetof(CMPIValuePtr, length) == P);
CHECK(sizeof(CMPIValue) == 2 * P);
CHECK(ALIGNOF(CMPIValue) == P);
CHECK(sizeof(CMPIData) == 3 * P);
CHECK(offsetof(CMPIData, type) == 0);
CHECK(offsetof(CMPIData, state) == 2);
CHECK(offsetof(CMPIData, value) == P);
CHECK(sizeof(CMPIStatus) == 2 * P);
CHECK(offsetof(CMPIStatus, rc) == 0);
CHECK(offsetof(CMPIStatus, msg) == P);

/* Every encapsulated object and MI record is a handle and a table. */
CHECK(sizeof(CMPIInstance) == 2 * P && offsetof(CMPIInstance, ft) == P);
CHECK(sizeof(CMPIObjectPath) == 2 * P && offsetof(CMPIObjectPath, ft) == P);
CHECK(sizeof(CMPIContext) == 2 * P && sizeof(CMPIResult) == 2 * P);
CHECK(sizeof(CMPIArgs) == 2 * P && sizeof(CMPIString) == 2 * P);
CHECK(sizeof(CMPIArray) == 2 * P && sizeof(CMPIEnumeration) == 2 * P);
CHECK(sizeof(CMPIDateTime) == 2 * P && sizeof(CMPISelectExp) == 2 * P);
CHECK(sizeof(CMPISelectCond) == 2 * P && sizeof(CMPISubCond) == 2 * P);
CHECK(sizeof(CMPIPredicate) == 2 * P && sizeof(CMPIError) == 2 * P);
CHECK(sizeof(CMPIInstanceMI) == 2 * P && offsetof(CMPIInstanceMI, ft) == P);
CHECK(sizeof(CMPIAssociationMI) == 2 * P && sizeof(CMPIMethodMI) == 2 * P);
CHECK(sizeof(CMPIPropertyMI) == 2 * P && sizeof(CMPIIndicationMI) == 2 * P);

CHECK(sizeof(CMPIBroker) == 5 * P);
CHECK(offsetof(CMPIBroker, bft) == P);
CHECK(offsetof(CMPIBroker, eft) == 2 * P);
CHECK(offsetof(CMPIBroker, xft) == 3 * P);
CHECK(offsetof(CMPIBroker, mft) == 4 * P);

/* ---- the broker's tables ---- */
CHECK(offsetof(CMPIBrokerFT, brokerVersion) == 4);
CHECK(offsetof(CMPIBrokerFT, brokerName) == 8);
#define BROKER_SLOT(member, k) SLOT(CMPIBrokerFT, member, k, 8 + P)
BROKER_SLOT(prepareAttachThread, 1);
BROKER_SLOT(attachThread, 2);
BROKER_SLOT(detachThread, 3);
BROKER_SLOT(deliverIndication, 4);
BROKER_SLOT(enumerateInstanceNames, 5);
BROKER_SLOT(getInstance, 6);
BROKER_SLOT(createInstance, 7);
BROKER_SLOT(modifyInstance, 8);
BROKER_SLOT(deleteInstance, 9);
BROKER_SLOT(execQuery, 10);
BROKER_SLOT(enumerateInstances, 11);
BROKER_SLOT(associators, 12);
BROKER_SLOT(associatorNames, 13);
BROKER_SLOT(references, 14);
BROKER_SLOT(referenceNames, 15);
BROKER_SLOT(invokeMethod, 16);
BROKER_SLOT(setProperty, 17);
BROKER_SLOT(getProperty, 18);
CHECK(sizeof(CMPIBrokerFT) == 8 + 19 * P);

ENC_SLOT(CMPIBrokerEncFT, newInstance, 1);
ENC_SLOT(CMPIBrokerEncFT, newObjectPath, 2);
ENC_SLOT(CMPIBrokerEncFT, newArgs, 3);
ENC_SLOT(CMPIBrokerEncFT, newString, 4);
ENC_SLOT(CMPIBrokerEncFT, newArray, 5);
ENC_SLOT(CMPIBrokerEncFT, newDateTime, 6);
ENC_SLOT(CMPIBrokerEncFT, newDateTimeFromBinary, 7);
ENC_SLOT(CMPIBrokerEncFT, newDateTimeFromChars, 8);
ENC_SLOT(CMPIBrokerEncFT, newSelectExp, 9);
ENC_SLOT(CMPIBrokerEncFT, classPathIsA, 10);
ENC_SLOT(CMPIBrokerEncFT, toString, 11);
ENC_SLOT(CMPIBrokerEncFT, isOfType, 12);
ENC_SLOT(CMPIBrokerEncFT, getType, 13);
ENC_SLOT(CMPIBrokerEncFT, getMessage, 14);
ENC_SLOT(CMPIBrokerEncFT, logMessage, 15);
ENC_SLOT(CMPIBrokerEncFT, trace, 16);
ENC_SLOT(CMPIBrokerEncFT, newCMPIError, 17);
ENC_SLOT(CMPIBrokerEncFT, openMessageFile, 18);
ENC_SLOT(CMPIBrokerEncFT, closeMessageFile, 19);
ENC_SLOT(CMPIBrokerEncFT, getMessage2, 20);
CHECK(sizeof(CMPIBrokerEncFT) == 21 * P);

ENC_SLOT(CMPIBrokerExtFT, resolveFileName, 1);
ENC_SLOT(CMPIBrokerExtFT, newThread, 2);
ENC_SLOT(CMPIBrokerExtFT, joinThread, 3);
ENC_SLOT(CMPIBrokerExtFT, exitThread, 4);
ENC_SLOT(CMPIBrokerExtFT, cancelThread, 5);
ENC_SLOT(CMPIBrokerExtFT, threadSleep, 6);
ENC_SLOT(CMPIBrokerExtFT, threadOnce, 7);
ENC_SLOT(CMPIBrokerExtFT, createThreadKey, 8);
ENC_SLOT(CMPIBrokerExtFT, destroyThreadKey, 9);
ENC_SLOT(CMPIBrokerExtFT, getThreadSpecific, 10);
ENC_SLOT(CMPIBrokerExtFT, setThreadSpecific, 11);
ENC_SLOT(CMPIBrokerExtFT, newMutex, 12);
ENC_SLOT(CMPIBrokerExtFT, destroyMutex, 13);
ENC_SLOT(CMPIBrokerExtFT, lockMutex, 14);
ENC_SLOT(CMPIBrokerExtFT, unlockMutex, 15);
ENC_SLOT(CMPIBrokerExtFT, newCondition, 16);
ENC_SLOT(CMPIBrokerExtFT, destroyCondition, 17);
ENC_SLOT(CMPIBrokerExtFT, condWait, 18);
ENC_SLOT(CMPIBrokerExtFT, timedCondWait, 19);
ENC_SLOT(CMPIBrokerExtFT, signalCondition, 20);
CHECK(sizeof(CMPIBrokerExtFT) == 21 * P);

ENC_SLOT(CMPIBrokerMemFT, mark, 1);
ENC_SLOT(CMPIBrokerMemFT, release, 2);
ENC_SLOT(CMPIBrokerMemFT, cmpiMalloc, 3);
ENC_SLOT(CMPIBrokerMemFT, cmpiCalloc, 4);
ENC_SLOT(CMPIBrokerMemFT, cmpiRealloc, 5);
ENC_SLOT(CMPIBrokerMemFT, cmpiStrDup, 6);
ENC_SLOT(CMPIBrokerMemFT, cmpiFree, 7);
ENC_SLOT(CMPIBrokerMemFT, freeInstance, 8);
ENC_SLOT(CMPIBrokerMemFT, freeObjectPath, 9);
ENC_SLOT(CMPIBrokerMemFT, freeArgs, 10);
ENC_SLOT(CMPIBrokerMemFT, freeString, 11);
ENC_SLOT(CMPIBrokerMemFT, freeArray, 12);
ENC_SLOT(CMPIBrokerMemFT, freeDateTime, 13);
ENC_SLOT(CMPIBrokerMemFT, freeSelectExp, 14);
CHECK(sizeof(CMPIBrokerMemFT) == 15 * P);

/* ---- encapsulated types: version, release, clone, then their own ---- */
#define RELEASE_CLONE(type) \
    ENC_SLOT(type, release, 1); \
    ENC_SLOT(type, clone, 2)

RELEASE_CLONE(CMPIContextFT);
ENC_SLOT(CMPIContextFT, getEntry, 3);
ENC_SLOT(CMPIContextFT, getEntryAt, 4);
ENC_SLOT(CMPIContextFT, getEntryCount, 5);
ENC_SLOT(CMPIContextFT, addEntry, 6);
CHECK(sizeof(CMPIContextFT) == 7 * P);

RELEASE_CLONE(CMPIResultFT);
ENC_SLOT(CMPIResultFT, returnData, 3);
ENC_SLOT(CMPIResultFT, returnInstance, 4);
ENC_SLOT(CMPIResultFT, returnObjectPath, 5);
ENC_SLOT(CMPIResultFT, returnDone, 6);
ENC_SLOT(CMPIResultFT, returnError, 7);
CHECK(sizeof(CMPIResultFT) == 8 * P);

RELEASE_CLONE(CMPIInstanceFT);
ENC_SLOT(CMPIInstanceFT, getProperty, 3);
ENC_SLOT(CMPIInstanceFT, getPropertyAt, 4);
ENC_SLOT(CMPIInstanceFT, getPropertyCount, 5);
ENC_SLOT(CMPIInstanceFT, setProperty, 6);
ENC_SLOT(CMPIInstanceFT, getObjectPath, 7);
ENC_SLOT(CMPIInstanceFT, setPropertyFilter, 8);
ENC_SLOT(CMPIInstanceFT, setObjectPath, 9);
ENC_SLOT(CMPIInstanceFT, setPropertyWithOrigin, 10);
CHECK(sizeof(CMPIInstanceFT) == 11 * P);

RELEASE_CLONE(CMPIObjectPathFT);
ENC_SLOT(CMPIObjectPathFT, setNameSpace, 3);
ENC_SLOT(CMPIObjectPathFT, getNameSpace, 4);
ENC_SLOT(CMPIObjectPathFT, setHostname, 5);
ENC_SLOT(CMPIObjectPathFT, getHostname, 6);
ENC_SLOT(CMPIObjectPathFT, setClassName, 7);
ENC_SLOT(CMPIObjectPathFT, getClassName, 8);
ENC_SLOT(CMPIObjectPathFT, addKey, 9);
ENC_SLOT(CMPIObjectPathFT, getKey, 10);
ENC_SLOT(CMPIObjectPathFT, getKeyAt, 11);
ENC_SLOT(CMPIObjectPathFT, getKeyCount, 12);
ENC_SLOT(CMPIObjectPathFT, setNameSpaceFromObjectPath, 13);
ENC_SLOT(CMPIObjectPathFT, setHostAndNameSpaceFromObjectPath, 14);
ENC_SLOT(CMPIObjectPathFT, getClassQualifier, 15);
ENC_SLOT(CMPIObjectPathFT, getPropertyQualifier, 16);
ENC_SLOT(CMPIObjectPathFT, getMethodQualifier, 17);
ENC_SLOT(CMPIObjectPathFT, getParameterQualifier, 18);
ENC_SLOT(CMPIObjectPathFT, toString, 19);
CHECK(sizeof(CMPIObjectPathFT) == 20 * P);

RELEASE_CLONE(CMPIArgsFT);
ENC_SLOT(CMPIArgsFT, addArg, 3);
ENC_SLOT(CMPIArgsFT, getArg, 4);
ENC_SLOT(CMPIArgsFT, getArgAt, 5);
ENC_SLOT(CMPIArgsFT, getArgCount, 6);
CHECK(sizeof(CMPIArgsFT) == 7 * P);

RELEASE_CLONE(CMPIStringFT);
ENC_SLOT(CMPIStringFT, getCharPtr, 3);
CHECK(sizeof(CMPIStringFT) == 4 * P);

RELEASE_CLONE(CMPIArrayFT);
ENC_SLOT(CMPIArrayFT, getSize, 3);
ENC_SLOT(CMPIArrayFT, getSimpleType, 4);
ENC_SLOT(CMPIArrayFT, getElementAt, 5);
ENC_SLOT(CMPIArrayFT, setElementAt, 6);
CHECK(sizeof(CMPIArrayFT) == 7 * P);

RELEASE_CLONE(CMPIEnumerationFT);
ENC_SLOT(CMPIEnumerationFT, getNext, 3);
ENC_SLOT(CMPIEnumerationFT, hasNext, 4);
ENC_SLOT(CMPIEnumerationFT, toArray, 5);
CHECK(sizeof(CMPIEnumerationFT) == 6 * P);

RELEASE_CLONE(CMPIDateTimeFT);
ENC_SLOT(CMPIDateTimeFT, getBinaryFormat, 3);
ENC_SLOT(CMPIDateTimeFT, getStringFormat, 4);
ENC_SLOT(CMPIDateTimeFT, isInterval, 5);
CHECK(sizeof(CMPIDateTimeFT) == 6 * P);

RELEASE_CLONE(CMPISelectExpFT);
ENC_SLOT(CMPISelectExpFT, evaluate, 3);
ENC_SLOT(CMPISelectExpFT, getString, 4);
ENC_SLOT(CMPISelectExpFT, getDOC, 5);
ENC_SLOT(CMPISelectExpFT, getCOD, 6);
ENC_SLOT(CMPISelectExpFT, evaluateUsingAccessor, 7);
CHECK(sizeof(CMPISelectExpFT) == 8 * P);

RELEASE_CLONE(CMPISelectCondFT);
ENC_SLOT(CMPISelectCondFT, getCountAndType, 3);
ENC_SLOT(CMPISelectCondFT, getSubCondAt, 4);
CHECK(sizeof(CMPISelectCondFT) == 5 * P);

RELEASE_CLONE(CMPISubCondFT);
ENC_SLOT(CMPISubCondFT, getCount, 3);
ENC_SLOT(CMPISubCondFT, getPredicateAt, 4);
ENC_SLOT(CMPISubCondFT, getPredicate, 5);
CHECK(sizeof(CMPISubCondFT) == 6 * P);

RELEASE_CLONE(CMPIPredicateFT);
ENC_SLOT(CMPIPredicateFT, getData, 3);
ENC_SLOT(CMPIPredicateFT, evaluateUsingAccessor, 4);
CHECK(sizeof(CMPIPredicateFT) == 5 * P);

RELEASE_CLONE(CMPIErrorFT);
ENC_SLOT(CMPIErrorFT, getErrorType, 3);
ENC_SLOT(CMPIErrorFT, getOtherErrorType, 4);
ENC_SLOT(CMPIErrorFT, getOwningEntity, 5);
ENC_SLOT(CMPIErrorFT, getMessageID, 6);
ENC_SLOT(CMPIErrorFT, getMessage, 7);
ENC_SLOT(CMPIErrorFT, getPerceivedSeverity, 8);
ENC_SLOT(CMPIErrorFT, getProbableCause, 9);
ENC_SLOT(CMPIErrorFT, getProbableCauseDescription, 10);
ENC_SLOT(CMPIErrorFT, getRecommendedActions, 11);
ENC_SLOT(CMPIErrorFT, getErrorSource, 12);
ENC_SLOT(CMPIErrorFT, getErrorSourceFormat, 13);
ENC_SLOT(CMPIErrorFT, getOtherErrorSourceFormat, 14);
ENC_SLOT(CMPIErrorFT, getCIMStatusCode, 15);
ENC_SLOT(CMPIErrorFT, getCIMStatusCodeDescription, 16);
ENC_SLOT(CMPIErrorFT, getMessageArguments, 17);
ENC_SLOT(CMPIErrorFT, setErrorType, 18);
ENC_SLOT(CMPIErrorFT, setOtherErrorType, 19);
ENC_SLOT(CMPIErrorFT, setProbableCauseDescription, 20);
ENC_SLOT(CMPIErrorFT, setRecommendedActions, 21);
ENC_SLOT(CMPIErrorFT, setErrorSource, 22);
ENC_SLOT(CMPIErrorFT, setErrorSourceFormat, 23);
ENC_SLOT(CMPIErrorFT, setOtherErrorSourceFormat, 24);
ENC_SLOT(CMPIErrorFT, setCIMStatusCodeDescription, 25);
ENC_SLOT(CMPIErrorFT, setMessageArguments, 26);
CHECK(sizeof(CMPIErrorFT) == 27 * P);

/* ---- the MI tables ---- */
CHECK(offsetof(CMPIInstanceMIFT, miVersion) == 4);
CHECK(offsetof(CMPIInstanceMIFT, miName) == 8);
MI_SLOT(CMPIInstanceMIFT, cleanup, 1);
MI_SLOT(CMPIInstanceMIFT, enumerateInstanceNames, 2);
MI_SLOT(CMPIInstanceMIFT, enumerateInstances, 3);
MI_SLOT(CMPIInstanceMIFT, getInstance, 4);
MI_SLOT(CMPIInstanceMIFT, createInstance, 5);
MI_SLOT(CMPIInstanceMIFT, modifyInstance, 6);
MI_SLOT(CMPIInstanceMIFT, deleteInstance, 7);
MI_SLOT(CMPIInstanceMIFT, execQuery, 8);
CHECK(sizeof(CMPIInstanceMIFT) == 8 + 9 * P);

CHECK(offsetof(CMPIAssociationMIFT, miName) == 8);
MI_SLOT(CMPIAssociationMIFT, cleanup, 1);
MI_SLOT(CMPIAssociationMIFT, associators, 2);
MI_SLOT(CMPIAssociationMIFT, associatorNames, 3);
MI_SLOT(CMPIAssociationMIFT, references, 4);
MI_SLOT(CMPIAssociationMIFT, referenceNames, 5);
CHECK(sizeof(CMPIAssociationMIFT) == 8 + 6 * P);

MI_SLOT(CMPIMethodMIFT, cleanup, 1);
MI_SLOT(CMPIMethodMIFT, invokeMethod, 2);
CHECK(sizeof(CMPIMethodMIFT) == 8 + 3 * P);

MI_SLOT(CMPIPropertyMIFT, cleanup, 1);
MI_SLOT(CMPIPropertyMIFT, setProperty, 2);
MI_SLOT(CMPIPropertyMIFT, getProperty, 3);
MI_SLOT(CMPIPropertyMIFT, setPropertyWithOrigin, 4);
CHECK(sizeof(CMPIPropertyMIFT) == 8 + 5 * P);

MI_SLOT(CMPIIndicationMIFT, cleanup, 1);
MI_SLOT(CMPIIndicationMIFT, authorizeFilter, 2);
MI_SLOT(CMPIIndicationMIFT, mustPoll, 3);
MI_SLOT(CMPIIndicationMIFT, activateFilter, 4);
MI_SLOT(CMPIIndicationMIFT, deActivateFilter, 5);
MI_SLOT(CMPIIndicationMIFT, enableIndications, 6);
MI_SLOT(CMPIIndicationMIFT, disableIndications, 7);
CHECK(sizeof(CMPIIndicationMIFT) == 8 + 8 * P);

/* ---- constants ---- */
CHECK(CMPIVersion200 == 200 && CMPICurrentVersion == 200);
CHECK(CMPI_null == 0);
CHECK(CMPI_boolean == 0x0002 && CMPI_char16 == 0x0003);
CHECK(CMPI_real32 == 0x0008 && CMPI_real64 == 0x000C);
CHECK(CMPI_uint8 == 0x0080 && CMPI_uint16 == 0x0090 && CMPI_uint32 == 0x00A0 && CMPI_uint64 == 0x00B0);
CHECK(CMPI_sint8 == 0x00C0 && CMPI_sint16 == 0x00D0 && CMPI_sint32 == 0x00E0 && CMPI_sint64 == 0x00F0);
CHECK(CMPI_INTEGER == 0x00C0);
CHECK(CMPI_instance == 0x1000 && CMPI_ref == 0x1100 && CMPI_args == 0x1200 && CMPI_class == 0x1300);
CHECK(CMPI_filter == 0x1400 && CMPI_enumeration == 0x1500 && CMPI_string == 0x1600 && CMPI_chars == 0x1700);
CHECK(CMPI_dateTime == 0x1800 && CMPI_ptr == 0x1900 && CMPI_charsptr == 0x1A00);
CHECK(CMPI_ARRAY == 0x2000);
CHECK(CMPI_booleanA == 0x2002 && CMPI_char16A == 0x2003 && CMPI_real32A == 0x2008 && CMPI_real64A == 0x200C);
CHECK(CMPI_uint8A == 0x2080 && CMPI_uint16A == 0x2090 && CMPI_uint32A == 0x20A0 && CMPI_uint64A == 0x20B0);
CHECK(CMPI_sint8A == 0x20C0 && CMPI_sint16A == 0x20D0 && CMPI_sint32A == 0x20E0 && CMPI_sint64A == 0x20F0);
CHECK(CMPI_instanceA == 0x3000 && CMPI_refA == 0x3100 && CMPI_stringA == 0x3600 && CMPI_charsA == 0x3700);
CHECK(CMPI_dateTimeA == 0x3800 && CMPI_charsptrA == 0x3A00);
CHECK(CMPI_SIMPLEA == 0x2002 && CMPI_REALA == 0x2008 && CMPI_UINTA == 0x2080 && CMPI_SINTA == 0x20C0);
CHECK(CMPI_INTEGERA == 0x20C0 && CMPI_ENCA == 0x3000);
CHECK(CMPI_keyInteger == 0xF0 && CMPI_keyString == 0x1600 && CMPI_keyBoolean == 0x2 && CMPI_keyRef == 0x1100);
CHECK(CMPI_integerString == 0x16F0 && CMPI_realString == 0x160C && CMPI_numericString == 0x16FC);
CHECK(CMPI_booleanString == 0x1602 && CMPI_dateTimeString == 0x1E00);
CHECK(CMPI_classNameString == 0x1700 && CMPI_nameString == 0x1E00);

CHECK(CMPI_goodValue == 0 && CMPI_nullValue == 0x0100 && CMPI_keyValue == 0x0200);
CHECK(CMPI_notFound == 0x0400 && CMPI_badValue == 0x8000);

CHECK(CMPI_RC_OK == 0 && CMPI_RC_ERR_FAILED == 1 && CMPI_RC_ERR_ACCESS_DENIED == 2);
CHECK(CMPI_RC_ERR_INVALID_NAMESPACE == 3 && CMPI_RC_ERR_INVALID_PARAMETER == 4 && CMPI_RC_ERR_INVALID_CLASS == 5);
CHECK(CMPI_RC_ERR_NOT_FOUND == 6 && CMPI_RC_ERR_NOT_SUPPORTED == 7 && CMPI_RC_ERR_CLASS_HAS_CHILDREN == 8);
CHECK(CMPI_RC_ERR_CLASS_HAS_INSTANCES == 9 && CMPI_RC_ERR_INVALID_SUPERCLASS == 10);
CHECK(CMPI_RC_ERR_ALREADY_EXISTS == 11 && CMPI_RC_ERR_NO_SUCH_PROPERTY == 12 && CMPI_RC_ERR_TYPE_MISMATCH == 13);
CHECK(CMPI_RC_ERR_QUERY_LANGUAGE_NOT_SUPPORTED == 14 && CMPI_RC_ERR_INVALID_QUERY == 15);
CHECK(CMPI_RC_ERR_METHOD_NOT_AVAILABLE == 16 && CMPI_RC_ERR_METHOD_NOT_FOUND == 17);
CHECK(CMPI_RC_DO_NOT_UNLOAD == 50 && CMPI_RC_NEVER_UNLOAD == 51);
CHECK(CMPI_RC_ERR_INVALID_HANDLE == 60 && CMPI_RC_ERR_INVALID_DATA_TYPE == 61);
CHECK(CMPI_RC_ERROR_SYSTEM == 100 && CMPI_RC_ERROR == 200);

CHECK(CMPI_FLAG_LocalOnly == 1 && CMPI_FLAG_DeepInheritance == 2);
CHECK(CMPI_FLAG_IncludeQualifiers == 4 && CMPI_FLAG_IncludeClassOrigin == 8);
CHECK(CMPI_MB_Class_2 == 0x7 && CMPI_MB_AssociationTraversal == 0x9 && CMPI_MB_Indications == 0x81);
CHECK(CMPI_MB_Supports_Extended_Error == 0x8000);
CHECK(CMPI_PredOp_Equals == 1 && CMPI_PredOp_NotLike == 10 && CMPI_PredOp_Or == 14);
CHECK(CMPI_SEV_ERROR == 1 && CMPI_DEV_DEBUG == 4 && CMPI_LEV_VERBOSE == 3);
CHECK(ErrorSevLow == 2 && ErrorSevFatal == 5 && UnsupportedOperationError == 10 && CIMObjectHandle == 2);
