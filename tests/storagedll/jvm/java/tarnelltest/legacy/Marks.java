package tarnelltest.legacy;

import java.lang.reflect.Array;
import java.lang.reflect.Field;
import java.lang.reflect.Modifier;
import java.util.List;

/**
 * Marks the value objects a test hands to the natives and describes them, so
 * that a test can tell whether a native touched them.
 */
public final class Marks {
    private Marks() {
    }

    /**
     * Gives every instance field of o, every element of its arrays and the
     * fields of the value objects it holds a value of its own, none of them
     * a default value.
     */
    public static void mark(Object o, int seed) throws IllegalAccessException {
        markObject(o, new int[] {seed});
    }

    /** Every field of o, deeply, as text. */
    public static String describe(Object o) throws IllegalAccessException {
        StringBuilder b = new StringBuilder();
        describe(o, b);
        return b.toString();
    }

    private static boolean isValueClass(Object o) {
        return o.getClass().getName().startsWith("com.zeq.sysmgt.storage.");
    }

    private static void markObject(Object o, int[] next) throws IllegalAccessException {
        for (Class<?> c = o.getClass(); c != null && c != Object.class; c = c.getSuperclass()) {
            for (Field f : c.getDeclaredFields()) {
                if (Modifier.isStatic(f.getModifiers()))
                    continue;
                f.setAccessible(true);
                Class<?> t = f.getType();
                if (t.isPrimitive()) {
                    setPrimitive(f, o, next[0]++);
                } else if (t.isArray()) {
                    Object a = f.get(o);
                    if (a != null) {
                        for (int i = 0; i < Array.getLength(a); ++i)
                            setElement(a, i, next[0]++);
                    }
                } else if (t == String.class) {
                    f.set(o, "mark" + next[0]++);
                } else {
                    Object inner = f.get(o);
                    if (inner != null && isValueClass(inner))
                        markObject(inner, next);
                }
            }
        }
    }

    private static void setPrimitive(Field f, Object o, int v) throws IllegalAccessException {
        Class<?> t = f.getType();
        if (t == int.class)
            f.setInt(o, 0x5A000000 + v);
        else if (t == long.class)
            f.setLong(o, 0x5A00000000L + v);
        else if (t == short.class)
            f.setShort(o, (short) (0x5A00 + v));
        else if (t == byte.class)
            f.setByte(o, (byte) (0x40 + (v & 0x3F)));
        else if (t == char.class)
            f.setChar(o, (char) ('A' + v % 26));
        else if (t == boolean.class)
            f.setBoolean(o, true);
    }

    private static void setElement(Object a, int i, int v) {
        Class<?> t = a.getClass().getComponentType();
        if (t == int.class)
            Array.setInt(a, i, 0x5A000000 + v);
        else if (t == long.class)
            Array.setLong(a, i, 0x5A00000000L + v);
        else if (t == short.class)
            Array.setShort(a, i, (short) (0x5A00 + v));
        else if (t == byte.class)
            Array.setByte(a, i, (byte) (0x40 + (v & 0x3F)));
        else if (t == char.class)
            Array.setChar(a, i, (char) ('A' + v % 26));
        else if (t == boolean.class)
            Array.setBoolean(a, i, true);
    }

    private static void describe(Object o, StringBuilder b) throws IllegalAccessException {
        if (o == null) {
            b.append("null");
            return;
        }
        if (o.getClass().isArray()) {
            b.append('[');
            for (int i = 0; i < Array.getLength(o); ++i)
                b.append(i == 0 ? "" : ",").append(Array.get(o, i));
            b.append(']');
            return;
        }
        if (o instanceof List) {
            b.append('(');
            for (Object e : (List<?>) o) {
                describe(e, b);
                b.append(';');
            }
            b.append(')');
            return;
        }
        if (!isValueClass(o)) {
            b.append(o);
            return;
        }
        b.append('{');
        for (Class<?> c = o.getClass(); c != null && c != Object.class; c = c.getSuperclass()) {
            for (Field f : c.getDeclaredFields()) {
                if (Modifier.isStatic(f.getModifiers()))
                    continue;
                f.setAccessible(true);
                b.append(f.getName()).append('=');
                describe(f.get(o), b);
                b.append(' ');
            }
        }
        b.append('}');
    }
}
